// d3dx8_math.cpp -- D3DX vector, matrix, quaternion and colour functions and the sphere probe.
#include "d3dx8math.h"

#include <cmath>

namespace {

D3DXMATRIX MakeIdentity() {
    return D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

FLOAT ClampUnit(FLOAT f) { return f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f); }

DWORD ChannelByte(FLOAT f) { return (DWORD)(ClampUnit(f) * 255.0f + 0.5f); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Matrix members

D3DXMATRIX::D3DXMATRIX(CONST FLOAT* pf) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = pf[i];
}

D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                       FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44) {
    _11 = f11; _12 = f12; _13 = f13; _14 = f14;
    _21 = f21; _22 = f22; _23 = f23; _24 = f24;
    _31 = f31; _32 = f32; _33 = f33; _34 = f34;
    _41 = f41; _42 = f42; _43 = f43; _44 = f44;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) {
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] += mat.m[r][c];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] -= mat.m[r][c];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] *= f;
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) { return *this *= 1.0f / f; }

D3DXMATRIX D3DXMATRIX::operator-() const { return *this * -1.0f; }

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& mat) const {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &mat);
    return out;
}

D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& mat) const {
    D3DXMATRIX out = *this;
    return out += mat;
}

D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& mat) const {
    D3DXMATRIX out = *this;
    return out -= mat;
}

D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const {
    D3DXMATRIX out = *this;
    return out *= f;
}

D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const {
    D3DXMATRIX out = *this;
    return out /= f;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != mat.m[r][c]) return false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Quaternion and colour members

D3DXQUATERNION& D3DXQUATERNION::operator*=(const D3DXQUATERNION& q) {
    D3DXQuaternionMultiply(this, this, &q);
    return *this;
}

D3DXQUATERNION D3DXQUATERNION::operator*(const D3DXQUATERNION& q) const {
    D3DXQUATERNION out;
    D3DXQuaternionMultiply(&out, this, &q);
    return out;
}

D3DXCOLOR::D3DXCOLOR(DWORD argb) {
    const FLOAT f = 1.0f / 255.0f;
    a = f * (FLOAT)((argb >> 24) & 0xff);
    r = f * (FLOAT)((argb >> 16) & 0xff);
    g = f * (FLOAT)((argb >> 8) & 0xff);
    b = f * (FLOAT)(argb & 0xff);
}

D3DXCOLOR::operator DWORD() const {
    return (ChannelByte(a) << 24) | (ChannelByte(r) << 16) | (ChannelByte(g) << 8) | ChannelByte(b);
}

// ---------------------------------------------------------------------------------------------
// Vectors

FLOAT D3DXVec2Length(CONST D3DXVECTOR2* pV) { return std::sqrt(pV->x * pV->x + pV->y * pV->y); }

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV) {
    FLOAT len = D3DXVec2Length(pV);
    if (len == 0.0f) {
        *pOut = D3DXVECTOR2(0.0f, 0.0f);
        return pOut;
    }
    *pOut = D3DXVECTOR2(pV->x / len, pV->y / len);
    return pOut;
}

FLOAT D3DXVec3Length(CONST D3DXVECTOR3* pV) { return std::sqrt(D3DXVec3LengthSq(pV)); }

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV) {
    FLOAT len = D3DXVec3Length(pV);
    if (len == 0.0f) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return pOut;
    }
    *pOut = D3DXVECTOR3(pV->x / len, pV->y / len, pV->z / len);
    return pOut;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    D3DXVECTOR4 v4(pV->x, pV->y, pV->z, 1.0f);
    return D3DXVec4Transform(pOut, &v4, pM);
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, CONST D3DXMATRIX* pM) {
    const FLOAT in[4] = {pV->x, pV->y, pV->z, pV->w};
    FLOAT out[4];
    for (int c = 0; c < 4; ++c)
        out[c] = in[0] * pM->m[0][c] + in[1] * pM->m[1][c] + in[2] * pM->m[2][c] + in[3] * pM->m[3][c];
    *pOut = D3DXVECTOR4(out);
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    D3DXVECTOR4 v;
    D3DXVec3Transform(&v, pV, pM);
    if (v.w != 0.0f) {
        *pOut = D3DXVECTOR3(v.x / v.w, v.y / v.w, v.z / v.w);
    } else {
        *pOut = D3DXVECTOR3(v.x, v.y, v.z);
    }
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    const FLOAT x = pV->x, y = pV->y, z = pV->z;
    *pOut = D3DXVECTOR3(x * pM->_11 + y * pM->_21 + z * pM->_31, x * pM->_12 + y * pM->_22 + z * pM->_32,
                        x * pM->_13 + y * pM->_23 + z * pM->_33);
    return pOut;
}

// ---------------------------------------------------------------------------------------------
// Matrices

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    *pOut = MakeIdentity();
    return pOut;
}

BOOL D3DXMatrixIsIdentity(CONST D3DXMATRIX* pM) { return *pM == MakeIdentity() ? TRUE : FALSE; }

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2) {
    D3DXMATRIX out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[r][c] = pM1->m[r][0] * pM2->m[0][c] + pM1->m[r][1] * pM2->m[1][c] +
                          pM1->m[r][2] * pM2->m[2][c] + pM1->m[r][3] * pM2->m[3][c];
    *pOut = out;
    return pOut;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM) {
    D3DXMATRIX out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out.m[r][c] = pM->m[c][r];
    *pOut = out;
    return pOut;
}

namespace {

// The cofactor matrix's transpose (the adjugate) and the determinant, in double precision.
double Adjugate(const D3DXMATRIX& a, double adj[4][4]) {
    double m[16];
    for (int i = 0; i < 16; ++i) m[i] = a.m[i / 4][i % 4];
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
             m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
             m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
             m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
              m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
             m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
             m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
             m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
              m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
             m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
              m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
              m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
             m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    for (int i = 0; i < 16; ++i) adj[i / 4][i % 4] = inv[i];
    return m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
}

}  // namespace

FLOAT D3DXMatrixDeterminant(CONST D3DXMATRIX* pM) {
    double adj[4][4];
    return (FLOAT)Adjugate(*pM, adj);
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, CONST D3DXMATRIX* pM) {
    double adj[4][4];
    double det = Adjugate(*pM, adj);
    if (pDeterminant) *pDeterminant = (FLOAT)det;
    if (det == 0.0 || !std::isfinite(det)) return nullptr;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) pOut->m[r][c] = (FLOAT)(adj[r][c] / det);
    return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    *pOut = MakeIdentity();
    pOut->_41 = x;
    pOut->_42 = y;
    pOut->_43 = z;
    return pOut;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    *pOut = MakeIdentity();
    pOut->_11 = sx;
    pOut->_22 = sy;
    pOut->_33 = sz;
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pV, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    *pOut = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0,
                       t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0,
                       t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c, 0,
                       0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, CONST D3DXQUATERNION* pQ) {
    const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    *pOut = D3DXMATRIX(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,
                       2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,
                       2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,
                       0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    D3DXMATRIX mz, mx, my;
    D3DXMatrixRotationZ(&mz, roll);
    D3DXMatrixRotationX(&mx, pitch);
    D3DXMatrixRotationY(&my, yaw);
    *pOut = mz * mx * my;
    return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                               CONST D3DXVECTOR3* pUp) {
    D3DXVECTOR3 zaxis = *pAt - *pEye, xaxis, yaxis;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVec3Cross(&xaxis, pUp, &zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
    *pOut = D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0, xaxis.y, yaxis.y, zaxis.y, 0, xaxis.z, yaxis.z, zaxis.z, 0,
                       -D3DXVec3Dot(&xaxis, pEye), -D3DXVec3Dot(&yaxis, pEye), -D3DXVec3Dot(&zaxis, pEye), 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    const FLOAT yscale = 1.0f / std::tan(fovy / 2.0f);
    const FLOAT xscale = yscale / aspect;
    *pOut = D3DXMATRIX(xscale, 0, 0, 0, 0, yscale, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0);
    return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *pOut = D3DXMATRIX(2 / w, 0, 0, 0, 0, 2 / h, 0, 0, 0, 0, 1 / (zf - zn), 0, 0, 0, zn / (zn - zf), 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                       FLOAT zf) {
    *pOut = D3DXMATRIX(2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, 1 / (zf - zn), 0, (l + r) / (l - r),
                       (t + b) / (b - t), zn / (zn - zf), 1);
    return pOut;
}

// ---------------------------------------------------------------------------------------------
// Quaternions

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
    *pOut = D3DXQUATERNION(0, 0, 0, 1);
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ1,
                                       CONST D3DXQUATERNION* pQ2) {
    const D3DXQUATERNION a = *pQ2, b = *pQ1;  // a * b: b's rotation first
    *pOut = D3DXQUATERNION(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                           a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ) {
    FLOAT len = std::sqrt(D3DXQuaternionDot(pQ, pQ));
    if (len == 0.0f) {
        *pOut = D3DXQUATERNION(0, 0, 0, 0);
        return pOut;
    }
    *pOut = *pQ / len;
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, CONST D3DXVECTOR3* pV, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT s = std::sin(angle / 2.0f);
    *pOut = D3DXQUATERNION(n.x * s, n.y * s, n.z * s, std::cos(angle / 2.0f));
    return pOut;
}

// ---------------------------------------------------------------------------------------------
// Intersection

BOOL D3DXSphereBoundProbe(CONST D3DXVECTOR3* pCenter, FLOAT Radius, CONST D3DXVECTOR3* pRayPosition,
                          CONST D3DXVECTOR3* pRayDirection) {
    const D3DXVECTOR3 toCentre = *pCenter - *pRayPosition;
    const FLOAT r2 = Radius * Radius;
    const FLOAT dist2 = D3DXVec3LengthSq(&toCentre);
    if (dist2 <= r2) return TRUE;
    const FLOAT along = D3DXVec3Dot(&toCentre, pRayDirection);
    const FLOAT dirLen2 = D3DXVec3LengthSq(pRayDirection);
    if (along < 0.0f || dirLen2 == 0.0f) return FALSE;
    // Squared distance from the centre to the ray's line.
    const FLOAT lineDist2 = dist2 - along * along / dirLen2;
    return lineDist2 <= r2 ? TRUE : FALSE;
}
