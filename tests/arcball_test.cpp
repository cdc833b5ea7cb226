// arcball_test.cpp -- the arcball driven by synthetic mouse messages, and the view camera.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "utils/arcball.h"
#include "utils/d3dutil.h"
#include "utils/view_camera.h"

namespace {

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

void ExpectQuaternion(const D3DXQUATERNION& q, const D3DXQUATERNION& e) {
    EXPECT_NEAR(q.x, e.x, 1e-5f);
    EXPECT_NEAR(q.y, e.y, 1e-5f);
    EXPECT_NEAR(q.z, e.z, 1e-5f);
    EXPECT_NEAR(q.w, e.w, 1e-5f);
}

bool IsIdentity(const D3DXMATRIX& m) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (int i = 0; i < 16; ++i)
        if (std::fabs(m.m[i / 4][i % 4] - identity.m[i / 4][i % 4]) > 1e-5f) return false;
    return true;
}

class ArcBallTest : public ::testing::Test {
protected:
    void SetUp() override { ball_.SetWindow(100, 100, 1.0f); }
    LRESULT Send(UINT message, int x, int y, WPARAM buttons = 0) {
        return ball_.HandleMouseMessages(nullptr, message, buttons, MAKELPARAM((WORD)x, (WORD)y));
    }
    CArcBall ball_;
};

}  // namespace

TEST_F(ArcBallTest, ScreenVectorsLieOnTheBallOrItsRim) {
    ExpectVector(ball_.ScreenToVector(50, 50), 0, 0, 1);
    ExpectVector(ball_.ScreenToVector(100, 50), -1, 0, 0);  // on the rim
    ExpectVector(ball_.ScreenToVector(150, 50), -1, 0, 0);  // beyond it
    ExpectVector(ball_.ScreenToVector(0, 0), std::sqrt(0.5f), -std::sqrt(0.5f), 0);
    ball_.SetWindow(100, 100, 0.5f);  // a ball half as wide: a quarter of the window from the centre is its rim
    ExpectVector(ball_.ScreenToVector(75, 25), -std::sqrt(0.5f), -std::sqrt(0.5f), 0);
}

TEST_F(ArcBallTest, ALeftDragTurnsTheBallAndDraggingBackUndoesTheTurn) {
    EXPECT_TRUE(Send(WM_LBUTTONDOWN, 50, 50));
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 70, 50, MK_LBUTTON));
    D3DXVECTOR3 start(0, 0, 1), turned;
    D3DXVec3TransformNormal(&turned, &start, &ball_.matRotation);
    const D3DXVECTOR3 under = ball_.ScreenToVector(70, 50);
    ExpectVector(turned, under.x, under.y, under.z);  // the point grabbed follows the cursor
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 50, 50, MK_LBUTTON));
    ExpectQuaternion(ball_.qCurrent, ball_.qAtDragStart);
    EXPECT_TRUE(IsIdentity(ball_.matRotationDelta));

    EXPECT_TRUE(Send(WM_MOUSEMOVE, 80, 50, MK_LBUTTON));
    EXPECT_TRUE(Send(WM_LBUTTONUP, 80, 50));
    EXPECT_FALSE(ball_.bDragging);
    const D3DXQUATERNION kept = ball_.qCurrent;
    EXPECT_TRUE(Send(WM_LBUTTONDOWN, 50, 50));  // the next drag starts from the kept turn
    ExpectQuaternion(ball_.qAtDragStart, kept);
}

TEST_F(ArcBallTest, RightDragsMoveSidewaysAndMiddleDragsForwardOnly) {
    EXPECT_TRUE(Send(WM_RBUTTONDOWN, 50, 50));
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 60, 50, MK_RBUTTON));
    EXPECT_NEAR(ball_.matTranslation._41, 0.2f, 1e-6f);  // dx = -0.1, times -2
    EXPECT_NEAR(ball_.matTranslation._42, 0.0f, 1e-6f);
    EXPECT_NEAR(ball_.matTranslation._43, 0.0f, 1e-6f);

    ball_.SetRadius(2.0f);
    EXPECT_TRUE(Send(WM_MBUTTONDOWN, 50, 50));
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 57, 40, MK_MBUTTON));
    EXPECT_NEAR(ball_.matTranslationDelta._41, 0.0f, 1e-6f);
    EXPECT_NEAR(ball_.matTranslationDelta._42, 0.0f, 1e-6f);
    EXPECT_NEAR(ball_.matTranslationDelta._43, 1.0f, 1e-6f);  // 5 x dy, dy = 10 x 2 / 100
    EXPECT_NEAR(ball_.matTranslation._41, 0.2f, 1e-6f);
    EXPECT_NEAR(ball_.matTranslation._43, 1.0f, 1e-6f);
}

TEST_F(ArcBallTest, OtherMessagesAreNotTakenAndChangeNothing) {
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_MOUSEMOVE, 60, 55, MK_LBUTTON);
    unsigned char before[sizeof(CArcBall)];
    std::memcpy(before, &ball_, sizeof ball_);
    for (UINT message : {WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_KEYDOWN, WM_MOUSEMOVE + 0x100u}) {
        SCOPED_TRACE(message);
        EXPECT_FALSE(Send(message, 90, 90, MK_LBUTTON));
    }
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 90, 90, 0));  // taken, but no button moves anything
    EXPECT_EQ(std::memcmp(before, &ball_, sizeof ball_), 0);
}

TEST_F(ArcBallTest, AMoveWithTheButtonHeldStartsItsOwnDragAndCoordinatesAreSigned) {
    // A drag that started at the centre leaves its start behind; another arcball whose button
    // went down outside the window starts where its first move is, so that move turns nothing.
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_LBUTTONUP, 50, 50);
    CArcBall other;
    other.SetWindow(100, 100, 1.0f);
    EXPECT_TRUE(other.HandleMouseMessages(nullptr, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 50)));
    EXPECT_TRUE(other.bDragging);
    ExpectQuaternion(other.qCurrent, D3DXQUATERNION(0, 0, 0, 1));
    EXPECT_TRUE(other.HandleMouseMessages(nullptr, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 45)));
    D3DXVECTOR3 grabbed = other.ScreenToVector(70, 50), turned;
    D3DXVec3TransformNormal(&turned, &grabbed, &other.matRotation);
    const D3DXVECTOR3 under = other.ScreenToVector(40, 45);
    ExpectVector(turned, under.x, under.y, under.z);  // the point grabbed at the first move follows

    // 20 pixels left of the window is x = -20, not 65516.
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_MOUSEMOVE, -20, 50, MK_LBUTTON);
    D3DXQUATERNION expected;
    const D3DXVECTOR3 from(0, 0, 1), to(1, 0, 0);
    QuaternionBetweenDirections(&expected, &from, &to);
    ExpectQuaternion(ball_.qCurrent, expected);
}

TEST_F(ArcBallTest, ADragOntoTheOppositePointOfTheRimKeepsTheBallTurnable) {
    // (0, 50) and (100, 50) lie on the rim at (1, 0, 0) and (-1, 0, 0): no turn between them.
    Send(WM_LBUTTONDOWN, 0, 50);
    Send(WM_MOUSEMOVE, 30, 50, MK_LBUTTON);
    const D3DXQUATERNION before = ball_.qCurrent;
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 100, 50, MK_LBUTTON));
    ExpectQuaternion(ball_.qCurrent, before);
    Send(WM_LBUTTONUP, 100, 50);
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_MOUSEMOVE, 60, 50, MK_LBUTTON);
    EXPECT_NEAR(D3DXQuaternionDot(&ball_.qCurrent, &ball_.qCurrent), 1.0f, 1e-5f);
}

TEST(ArcBall, NothingIsTakenBeforeTheWindowIsSet) {
    CArcBall ball;
    EXPECT_FALSE(ball.HandleMouseMessages(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10)));
    EXPECT_FALSE(ball.HandleMouseMessages(nullptr, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10)));
    EXPECT_FALSE(ball.bDragging);
    ExpectVector(ball.ScreenToVector(10, 10), 0, 0, 1);
    EXPECT_TRUE(IsIdentity(ball.matRotation));
    EXPECT_EQ(ball.fTranslationRadius, 1.0f);
}

TEST(ViewCamera, StartsLookingDownZAndItsBillboardUndoesTheViewsTurn) {
    CViewCamera camera;
    ExpectVector(camera.vViewDir, 0, 0, 1);
    ExpectVector(camera.vCross, -1, 0, 0);
    EXPECT_TRUE(IsIdentity(camera.matBillboard));
    EXPECT_FLOAT_EQ(camera.fFOV, 0.7853982f);
    EXPECT_EQ(camera.fFarPlane, 1000.0f);

    camera.SetViewParams(D3DXVECTOR3(3, 4, 5), D3DXVECTOR3(-2, 1, 7), D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(camera.matBillboard._41, 0.0f);
    EXPECT_EQ(camera.matBillboard._42, 0.0f);
    EXPECT_EQ(camera.matBillboard._43, 0.0f);
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &camera.matBillboard, &camera.matView);
    product._41 = product._42 = product._43 = 0.0f;
    EXPECT_TRUE(IsIdentity(product));
    EXPECT_NEAR(D3DXVec3Length(&camera.vViewDir), 1.0f, 1e-6f);
}
