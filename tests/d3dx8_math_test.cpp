// d3dx8_math_test.cpp -- D3DX vectors, matrices, quaternions, colours and the sphere probe.
#include <gtest/gtest.h>

#include <cmath>

#include "d3dx8.h"
#include "dinput.h"
#include "windows.h"

namespace {

const float kEps = 1e-5f;

void ExpectVecNear(const D3DXVECTOR3& v, float x, float y, float z, float eps = kEps) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void ExpectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float eps = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], eps) << "row " << r << " col " << c;
}

}  // namespace

TEST(D3DXVector, OperatorsDotCrossLength) {
    D3DXVECTOR3 a(1, 2, 3), b(4, -5, 6);
    ExpectVecNear(a + b, 5, -3, 9);
    ExpectVecNear(a - b, -3, 7, -3);
    ExpectVecNear(a * 2.0f, 2, 4, 6);
    ExpectVecNear(0.5f * a, 0.5f, 1, 1.5f);
    ExpectVecNear(-a, -1, -2, -3);
    D3DXVECTOR3 c = a;
    c += b;
    c -= a;
    EXPECT_TRUE(c == b);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), 4 - 10 + 18);
    D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), z;
    EXPECT_EQ(D3DXVec3Cross(&z, &x, &y), &z);
    ExpectVecNear(z, 0, 0, 1);
    D3DXVECTOR3 v345(3, 4, 0);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v345), 5.0f);
    // The output may be an input.
    D3DXVec3Cross(&a, &a, &b);
    ExpectVecNear(a, 2 * 6 - 3 * -5, 3 * 4 - 1 * 6, 1 * -5 - 2 * 4);
}

TEST(D3DXVector, NormaliseKeepsAZeroVectorZero) {
    D3DXVECTOR3 v(0, 3, 4), n;
    D3DXVec3Normalize(&n, &v);
    ExpectVecNear(n, 0, 0.6f, 0.8f);
    D3DXVECTOR3 zero(0, 0, 0);
    D3DXVec3Normalize(&n, &zero);
    ExpectVecNear(n, 0, 0, 0, 0);
    EXPECT_FALSE(std::isnan(n.x));
    D3DXVec3Normalize(&v, &v);  // in place
    ExpectVecNear(v, 0, 0.6f, 0.8f);
}

TEST(D3DXVector, TransformCoordDividesByWAndTransformNormalIgnoresTranslation) {
    D3DXMATRIX t;
    D3DXMatrixTranslation(&t, 10, 20, 30);
    D3DXVECTOR3 p(1, 2, 3), out;
    D3DXVec3TransformCoord(&out, &p, &t);
    ExpectVecNear(out, 11, 22, 33);
    D3DXVec3TransformNormal(&out, &p, &t);
    ExpectVecNear(out, 1, 2, 3);
    D3DXMATRIX s;
    D3DXMatrixScaling(&s, 2, 2, 2);
    s._44 = 2;  // w = 2 halves the scaled point again
    D3DXVec3TransformCoord(&out, &p, &s);
    ExpectVecNear(out, 1, 2, 3);
}

TEST(D3DXMatrix, MultiplyAppliesTheLeftMatrixFirst) {
    D3DXMATRIX rz, tr, both;
    D3DXMatrixRotationZ(&rz, D3DX_PI / 2);
    D3DXMatrixTranslation(&tr, 5, 0, 0);
    D3DXMatrixMultiply(&both, &rz, &tr);
    D3DXVECTOR3 p(1, 0, 0), out;
    D3DXVec3TransformCoord(&out, &p, &both);
    ExpectVecNear(out, 5, 1, 0);  // turned to (0,1,0) first, then moved
    ExpectMatrixNear(rz * tr, both);
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&id));
    EXPECT_FALSE(D3DXMatrixIsIdentity(&both));
    ExpectMatrixNear(id * both, both);
}

TEST(D3DXMatrix, InverseUndoesAndSingularFails) {
    D3DXMATRIX a, b, m, inv;
    D3DXVECTOR3 axis(1, 2, 3);
    D3DXMatrixRotationAxis(&a, &axis, 0.7f);
    D3DXMatrixTranslation(&b, 3, -4, 5);
    m = a * b;
    FLOAT det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
    EXPECT_NEAR(det, 1.0f, 1e-5f);
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    ExpectMatrixNear(m * inv, id);
    D3DXMATRIX zero;
    D3DXMatrixScaling(&zero, 1, 0, 1);
    D3DXMATRIX untouched = id;
    EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &zero), nullptr);
    EXPECT_TRUE(untouched == id);
}

TEST(D3DXMatrix, RotationsTurnTheAxesLeftHanded) {
    D3DXMATRIX r;
    D3DXVECTOR3 out, x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    D3DXMatrixRotationX(&r, D3DX_PI / 2);
    D3DXVec3TransformNormal(&out, &y, &r);
    ExpectVecNear(out, 0, 0, 1);
    D3DXMatrixRotationY(&r, D3DX_PI / 2);
    D3DXVec3TransformNormal(&out, &z, &r);
    ExpectVecNear(out, 1, 0, 0);
    D3DXMatrixRotationZ(&r, D3DX_PI / 2);
    D3DXVec3TransformNormal(&out, &x, &r);
    ExpectVecNear(out, 0, 1, 0);
    // The axis forms agree with the fixed-axis ones, and a long axis counts as its direction.
    D3DXMATRIX ra;
    D3DXVECTOR3 longZ(0, 0, 7), longX(3, 0, 0);
    D3DXMatrixRotationAxis(&ra, &longZ, D3DX_PI / 2);
    ExpectMatrixNear(ra, r);
    D3DXMatrixRotationAxis(&ra, &longX, 0.3f);
    D3DXMatrixRotationX(&r, 0.3f);
    ExpectMatrixNear(ra, r);
}

// Left-handed: looking along +y with z up, the view's right axis is up x forward = -x.
TEST(D3DXMatrix, LookAtMovesTheEyeToTheOriginLookingDownZ) {
    D3DXVECTOR3 eye(50, 50, 5), at(50, 60, 5), up(0, 0, 1), out;
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    // The eye, the point looked at, one above the eye and one west of it.
    const D3DXVECTOR3 moves[4][2] = {{eye, {0, 0, 0}}, {at, {0, 0, 10}}, {{50, 50, 6}, {0, 1, 0}},
                                     {{49, 50, 5}, {1, 0, 0}}};
    for (const auto& m : moves) {
        D3DXVec3TransformCoord(&out, &m[0], &view);
        ExpectVecNear(out, m[1].x, m[1].y, m[1].z, 1e-4f);
    }
}

TEST(D3DXMatrix, PerspectiveFovMapsNearAndFarToZeroAndOne) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 4, 640.0f / 480.0f, 0.1f, 200.0f);
    EXPECT_NEAR(p._22, 1.0f / std::tan(D3DX_PI / 8), 1e-5f);
    EXPECT_NEAR(p._11, p._22 / (640.0f / 480.0f), 1e-5f);
    EXPECT_FLOAT_EQ(p._34, 1.0f);
    EXPECT_FLOAT_EQ(p._44, 0.0f);
    D3DXVECTOR3 nearPt(0, 0, 0.1f), farPt(0, 0, 200.0f), out;
    D3DXVec3TransformCoord(&out, &nearPt, &p);
    EXPECT_NEAR(out.z, 0.0f, 1e-5f);
    D3DXVec3TransformCoord(&out, &farPt, &p);
    EXPECT_NEAR(out.z, 1.0f, 1e-5f);
    // The top edge of the view cone lands on y = 1.
    D3DXVECTOR3 top(0, std::tan(D3DX_PI / 8) * 10, 10);
    D3DXVec3TransformCoord(&out, &top, &p);
    EXPECT_NEAR(out.y, 1.0f, 1e-5f);
}

TEST(D3DXMatrix, OrthoMapsTheBoxToTheUnitCube) {
    D3DXMATRIX o;
    D3DXMatrixOrthoLH(&o, 640, 480, 1, 11);
    D3DXVECTOR3 corner(320, -240, 11), out;
    D3DXVec3TransformCoord(&out, &corner, &o);
    ExpectVecNear(out, 1, -1, 1);
    D3DXMatrixOrthoOffCenterLH(&o, 0, 640, 480, 0, 0, 1);
    D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3TransformCoord(&out, &origin, &o);
    ExpectVecNear(out, -1, 1, 0);
}

TEST(D3DXQuaternion, RotationAxisAndMultiplyMatchTheMatrices) {
    D3DXQUATERNION qa, qb, qab;
    D3DXVECTOR3 axisZ(0, 0, 2), axisX(1, 0, 0);
    D3DXQuaternionRotationAxis(&qa, &axisZ, D3DX_PI / 2);
    EXPECT_NEAR(qa.z, std::sin(D3DX_PI / 4), 1e-6f);
    EXPECT_NEAR(qa.w, std::cos(D3DX_PI / 4), 1e-6f);
    D3DXQuaternionRotationAxis(&qb, &axisX, 0.4f);
    D3DXQuaternionMultiply(&qab, &qa, &qb);
    D3DXMATRIX ma, mb, mab;
    D3DXMatrixRotationQuaternion(&ma, &qa);
    D3DXMatrixRotationQuaternion(&mb, &qb);
    D3DXMatrixRotationQuaternion(&mab, &qab);
    ExpectMatrixNear(mab, ma * mb);  // qa's rotation first, then qb's
    D3DXMATRIX rz;
    D3DXMatrixRotationZ(&rz, D3DX_PI / 2);
    ExpectMatrixNear(ma, rz);
    D3DXQUATERNION viaOp = qa * qb;
    EXPECT_TRUE(viaOp == qab);
    D3DXQUATERNION id;
    D3DXQuaternionIdentity(&id);
    D3DXQUATERNION same;
    D3DXQuaternionMultiply(&same, &qa, &id);
    EXPECT_TRUE(same == qa);
}

TEST(D3DXColor, ConversionClampsRoundsAndPacksARGB) {
    EXPECT_EQ((DWORD)D3DXCOLOR(1.0f, 0.0f, 1.0f, 1.0f), 0xFFFF00FFu);
    EXPECT_EQ((DWORD)D3DXCOLOR(0.5f, 0.5f, 0.5f, 0.5f), 0x80808080u);
    EXPECT_EQ((DWORD)D3DXCOLOR(2.0f, -1.0f, 0.0f, 1.0f), 0xFFFF0000u);
    D3DXCOLOR c(0xFF204060u);
    EXPECT_NEAR(c.a, 1.0f, 1e-6f);
    EXPECT_NEAR(c.r, 0x20 / 255.0f, 1e-6f);
    EXPECT_NEAR(c.g, 0x40 / 255.0f, 1e-6f);
    EXPECT_NEAR(c.b, 0x60 / 255.0f, 1e-6f);
    EXPECT_EQ((DWORD)c, 0xFF204060u);
    EXPECT_EQ((DWORD)(c * 0.0f), 0u);
    EXPECT_EQ(D3DCOLOR_ARGB(1, 2, 3, 4), 0x01020304u);
    EXPECT_EQ(D3DCOLOR_XRGB(0x10, 0x20, 0x30), 0xFF102030u);
}

TEST(D3DXSphereBoundProbe, MeetsOnlySpheresAheadOrAroundTheStart) {
    D3DXVECTOR3 pos(0, 0, 0), dir(0, 1, 0);
    D3DXVECTOR3 ahead(0, 50, 0.15f), aside(0, 50, 0.25f), behind(0, -50, 0), around(0.1f, 0, 0);
    EXPECT_TRUE(D3DXSphereBoundProbe(&ahead, 0.2f, &pos, &dir));
    EXPECT_FALSE(D3DXSphereBoundProbe(&aside, 0.2f, &pos, &dir));
    EXPECT_FALSE(D3DXSphereBoundProbe(&behind, 0.2f, &pos, &dir));
    EXPECT_TRUE(D3DXSphereBoundProbe(&around, 0.2f, &pos, &dir));
    // The direction need not be unit length.
    D3DXVECTOR3 longDir(0, 7, 0), slanted(1, 1, 0);
    EXPECT_TRUE(D3DXSphereBoundProbe(&ahead, 0.2f, &pos, &longDir));
    D3DXVECTOR3 diag(10, 10, 0.1f);
    EXPECT_TRUE(D3DXSphereBoundProbe(&diag, 0.2f, &pos, &slanted));
    // A zero direction meets only what surrounds the start.
    D3DXVECTOR3 zero(0, 0, 0);
    EXPECT_FALSE(D3DXSphereBoundProbe(&ahead, 0.2f, &pos, &zero));
    EXPECT_TRUE(D3DXSphereBoundProbe(&around, 0.2f, &pos, &zero));
}
