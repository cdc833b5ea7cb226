// arcball_test.cpp -- the arcball driven by synthetic mouse messages, and the view camera.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "utils/arcball.h"
#include "utils/view_camera.h"

namespace {

void ExpectVector(const D3DXVECTOR3& v, const D3DXVECTOR3& e) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR((&v.x)[k], (&e.x)[k], 1e-5f) << k;
}

void ExpectQuaternion(const D3DXQUATERNION& q, const D3DXQUATERNION& e) {
    for (int k = 0; k < 4; ++k) EXPECT_NEAR((&q.x)[k], (&e.x)[k], 1e-5f) << k;
}

const D3DXMATRIX kIdentity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

bool IsNear(const D3DXMATRIX& m, const D3DXMATRIX& e) {
    for (int i = 0; i < 16; ++i)
        if (std::fabs(m.m[i / 4][i % 4] - e.m[i / 4][i % 4]) > 1e-5f) return false;
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
    ExpectVector(ball_.ScreenToVector(50, 50), {0, 0, 1});
    ExpectVector(ball_.ScreenToVector(100, 50), {-1, 0, 0});  // on the rim
    ExpectVector(ball_.ScreenToVector(150, 50), {-1, 0, 0});  // beyond it
    ExpectVector(ball_.ScreenToVector(0, 0), {std::sqrt(0.5f), -std::sqrt(0.5f), 0});
    ball_.SetWindow(100, 100, 0.5f);  // a ball half as wide: a quarter of the window from the centre is its rim
    ExpectVector(ball_.ScreenToVector(75, 25), {-std::sqrt(0.5f), -std::sqrt(0.5f), 0});
}

TEST_F(ArcBallTest, ALeftDragTurnsTheBallDraggingBackUndoesItAndTheNextDragTurnsOnFromIt) {
    EXPECT_TRUE(Send(WM_LBUTTONDOWN, 50, 50));
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 70, 50, MK_LBUTTON));
    D3DXVECTOR3 start(0, 0, 1), turned;
    D3DXVec3TransformNormal(&turned, &start, &ball_.matRotation);
    ExpectVector(turned, ball_.ScreenToVector(70, 50));  // the point grabbed follows the cursor
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 50, 50, MK_LBUTTON));
    ExpectQuaternion(ball_.qCurrent, ball_.qAtDragStart);
    EXPECT_TRUE(IsNear(ball_.matRotationDelta, kIdentity));

    EXPECT_TRUE(Send(WM_MOUSEMOVE, 80, 50, MK_LBUTTON));
    EXPECT_TRUE(Send(WM_LBUTTONUP, 80, 50));
    EXPECT_FALSE(ball_.bDragging);
    const D3DXQUATERNION kept = ball_.qCurrent;
    const D3DXMATRIX first = ball_.matRotation;
    EXPECT_TRUE(Send(WM_LBUTTONDOWN, 50, 50));  // the next drag starts from the kept turn
    ExpectQuaternion(ball_.qAtDragStart, kept);
    // and a drag down turns on from there about another axis: the kept turn, then the step that
    // carries the point grabbed under the cursor.
    EXPECT_TRUE(Send(WM_MOUSEMOVE, 50, 75, MK_LBUTTON));
    D3DXVec3TransformNormal(&turned, &start, &ball_.matRotationDelta);
    ExpectVector(turned, ball_.ScreenToVector(50, 75));
    D3DXMATRIX both;
    EXPECT_TRUE(IsNear(ball_.matRotation, *D3DXMatrixMultiply(&both, &first, &ball_.matRotationDelta)));
}

TEST_F(ArcBallTest, RightDragsMoveSidewaysAndUpAndMiddleDragsForwardOnly) {
    // In a window 100 pixels square: 10 pixels right are dx = -0.1, times -2; on 10 more in the
    // same drag; a new drag 10 up is dy = 0.1, times 2; a middle drag with radius 2 moves 5 x dy,
    // dy = 10 x 2 / 100.
    const struct {
        UINT down;  // 0: the drag goes on
        int x, y;
        WPARAM button;
        float step[3], moved[3];
    } kDrags[] = {{WM_RBUTTONDOWN, 60, 50, MK_RBUTTON, {0.2f, 0, 0}, {0.2f, 0, 0}},
                  {0, 70, 50, MK_RBUTTON, {0.2f, 0, 0}, {0.4f, 0, 0}},
                  {WM_RBUTTONDOWN, 50, 40, MK_RBUTTON, {0, 0.2f, 0}, {0.4f, 0.2f, 0}},
                  {WM_MBUTTONDOWN, 57, 40, MK_MBUTTON, {0, 0, 1}, {0.4f, 0.2f, 1}}};
    for (const auto& d : kDrags) {
        SCOPED_TRACE(testing::Message() << d.x << "," << d.y);
        if (d.button == MK_MBUTTON) ball_.SetRadius(2.0f);
        EXPECT_TRUE(!d.down || Send(d.down, 50, 50)) << d.down;
        EXPECT_TRUE(Send(WM_MOUSEMOVE, d.x, d.y, d.button));
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(ball_.matTranslationDelta.m[3][k], d.step[k], 1e-6f) << k;
            EXPECT_NEAR(ball_.matTranslation.m[3][k], d.moved[k], 1e-6f) << k;
        }
    }
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
    ExpectVector(turned, other.ScreenToVector(40, 45));  // the point grabbed at the first move follows

    // 20 pixels left of the window is x = -20, not 65516.
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_MOUSEMOVE, -20, 50, MK_LBUTTON);
    ExpectQuaternion(ball_.qCurrent, {0, std::sqrt(0.5f), 0, std::sqrt(0.5f)});  // (0, 0, 1) to (1, 0, 0)
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
    ExpectVector(ball.ScreenToVector(10, 10), {0, 0, 1});
    EXPECT_TRUE(IsNear(ball.matRotation, kIdentity));
    EXPECT_EQ(ball.fTranslationRadius, 1.0f);
}

TEST(ViewCamera, StartsLookingDownZItsBillboardUndoesTheViewsTurnAndItsProjectionFillsTheView) {
    CViewCamera camera;
    ExpectVector(camera.vViewDir, {0, 0, 1});
    ExpectVector(camera.vCross, {-1, 0, 0});
    EXPECT_TRUE(IsNear(camera.matBillboard, kIdentity));

    camera.SetViewParams(D3DXVECTOR3(3, 4, 5), D3DXVECTOR3(-2, 1, 7), D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(camera.matBillboard._41, 0);
    EXPECT_EQ(camera.matBillboard._42, 0);
    EXPECT_EQ(camera.matBillboard._43, 0);
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &camera.matBillboard, &camera.matView);
    product._41 = product._42 = product._43 = 0.0f;
    EXPECT_TRUE(IsNear(product, kIdentity));
    EXPECT_NEAR(D3DXVec3Length(&camera.vViewDir), 1.0f, 1e-6f);

    // The projection takes the edges of the field of view to the corners, from near (depth 0) to
    // far (1): at first a quarter turn of view, square, from 1 to 1000.
    const float kParams[2][4] = {{0.7853982f, 1, 1, 1000}, {D3DX_PI / 2, 2, 0.5f, 100}};
    for (const auto& p : kParams) {
        SCOPED_TRACE(p[0]);
        if (p[2] != 1) camera.SetProjParams(p[0], p[1], p[2], p[3]);
        EXPECT_EQ(camera.fFOV, p[0]);
        EXPECT_EQ(camera.fAspect, p[1]);
        EXPECT_EQ(camera.fNearPlane, p[2]);
        EXPECT_EQ(camera.fFarPlane, p[3]);
        const float edge = std::tan(p[0] / 2);  // half the height seen at a depth of 1
        for (float z : {p[2], p[3]}) {
            D3DXVECTOR3 corner(p[1] * edge * z, -edge * z, z), seen;
            D3DXVec3TransformCoord(&seen, &corner, &camera.matProj);
            ExpectVector(seen, {1, -1, z == p[2] ? 0.0f : 1.0f});
        }
    }
}
