// device_draw.cpp -- what the Direct3D layer costs: 1,000 textured quads a frame at 640x480, one
// draw call and a texture change each, through the device and as plain OpenGL calls in a context
// of their own on the same window, in alternating runs; prints the minimum and median time per
// frame of each and the ratio of the two, on the clock and in processor time.
// The layer's Windows headers come first: they define the calling-convention words GL also uses.
#include "d3d8.h"

#include "bench_runs.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr UINT kWidth = 640, kHeight = 480;
constexpr int kQuads = 1000;
constexpr int kFrames = 10;  // a run
constexpr int kRuns = 21;

struct Vertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};

// The quads of a frame: 16-pixel squares walking over the screen.
void FillQuads(Vertex* v, int frame) {
    for (int i = 0; i < kQuads; ++i) {
        const float x = (float)((i * 37 + frame * 3) % (kWidth - 16)), y = (float)((i * 53) % (kHeight - 16));
        const DWORD c = 0xFF000000u | (DWORD)(i * 2654435761u >> 8);
        v[i * 4 + 0] = {x, y + 16, 0.5f, 1, c, 0, 1};
        v[i * 4 + 1] = {x, y, 0.5f, 1, c, 0, 0};
        v[i * 4 + 2] = {x + 16, y + 16, 0.5f, 1, c, 1, 1};
        v[i * 4 + 3] = {x + 16, y, 0.5f, 1, c, 1, 0};
    }
}

IDirect3DTexture8* MakeTexture(IDirect3DDevice8* device, DWORD colour) {
    IDirect3DTexture8* tex = nullptr;
    if (FAILED(device->CreateTexture(16, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex))) return nullptr;
    D3DLOCKED_RECT lr;
    tex->LockRect(0, &lr, nullptr, 0);
    for (int i = 0; i < 16 * 16; ++i) static_cast<DWORD*>(lr.pBits)[i] = (i & 1) ? colour : 0xFFFFFFFFu;
    tex->UnlockRect(0);
    return tex;
}

// Milliseconds a frame.
double DeviceFrames(IDirect3DDevice8* device, IDirect3DVertexBuffer8* vb, IDirect3DTexture8* textures[2], int count,
                    int first) {
    std::vector<Vertex> quads((size_t)kQuads * 4);
    const bench::Clock::time_point start = bench::Clock::now();
    for (int f = first; f < first + count; ++f) {
        FillQuads(quads.data(), f);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0);
        device->BeginScene();
        BYTE* p = nullptr;
        if (SUCCEEDED(vb->Lock(0, 0, &p, D3DLOCK_DISCARD))) {
            std::memcpy(p, quads.data(), quads.size() * sizeof(Vertex));
            vb->Unlock();
        }
        for (int i = 0; i < kQuads; ++i) {
            device->SetTexture(0, textures[i & 1]);
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, (UINT)i * 4, 2);
        }
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    glFinish();
    return bench::MillisecondsSince(start) / count;
}

// ---------------------------------------------------------------------------------------------
// The same frame in plain OpenGL: one program, one buffer, a texture bind and a draw per quad,
// straight into the window.

#define PLAIN_GL_FUNCTIONS(X)                                    \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                           \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                           \
    X(PFNGLBUFFERDATAPROC, BufferData)                           \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                 \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                 \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)         \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray) \
    X(PFNGLCREATESHADERPROC, CreateShader)                       \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                       \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                     \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                     \
    X(PFNGLATTACHSHADERPROC, AttachShader)                       \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)           \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                         \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                           \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)           \
    X(PFNGLUNIFORM2FPROC, Uniform2f)                             \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                 \
    X(PFNGLBINDSAMPLERPROC, BindSampler)                         \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)

#define PLAIN_GL_DECLARE(type, name) type gl##name = nullptr;
PLAIN_GL_FUNCTIONS(PLAIN_GL_DECLARE)

bool LoadPlainGl() {
#define PLAIN_GL_LOAD(type, name)                                                     \
    gl##name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));            \
    if (!gl##name) return false;
    PLAIN_GL_FUNCTIONS(PLAIN_GL_LOAD)
    return true;
}

const char* const kPlainVertex = R"(#version 130
in vec4 aPosition;
in vec4 aColour;
in vec2 aTexCoord;
uniform vec2 uSize;
out vec4 vColour;
out vec2 vTexCoord;
void main() {
    gl_Position = vec4((aPosition.x + 0.5) * 2.0 / uSize.x - 1.0, 1.0 - (aPosition.y + 0.5) * 2.0 / uSize.y, aPosition.z, 1.0);
    vColour = aColour;
    vTexCoord = aTexCoord;
}
)";

const char* const kPlainFragment = R"(#version 130
in vec4 vColour;
in vec2 vTexCoord;
uniform sampler2D uTexture;
out vec4 fragColour;
void main() { fragColour = texture(uTexture, vTexCoord) * vColour; }
)";

double PlainFrames(SDL_Window* window, int count, int first) {
    static GLuint program = 0, buffer = 0, vao = 0, textures[2] = {};
    if (!program) {
        GLuint vs = glCreateShader(GL_VERTEX_SHADER), fs = glCreateShader(GL_FRAGMENT_SHADER);
        glShaderSource(vs, 1, &kPlainVertex, nullptr);
        glShaderSource(fs, 1, &kPlainFragment, nullptr);
        glCompileShader(vs);
        glCompileShader(fs);
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glBindAttribLocation(program, 0, "aPosition");
        glBindAttribLocation(program, 1, "aColour");
        glBindAttribLocation(program, 2, "aTexCoord");
        glLinkProgram(program);
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &buffer);
        glGenTextures(2, textures);
        for (int t = 0; t < 2; ++t) {
            std::vector<DWORD> texels(16 * 16);
            for (int i = 0; i < 16 * 16; ++i) texels[i] = (i & 1) ? (t ? 0xFF00FF00u : 0xFFFF0000u) : 0xFFFFFFFFu;
            glBindTexture(GL_TEXTURE_2D, textures[t]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, kWidth, kHeight);
    glUseProgram(program);
    glUniform2f(glGetUniformLocation(program, "uSize"), (float)kWidth, (float)kHeight);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex), reinterpret_cast<void*>(16));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(20));
    for (GLuint a = 0; a < 3; ++a) glEnableVertexAttribArray(a);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);

    std::vector<Vertex> quads((size_t)kQuads * 4);
    const bench::Clock::time_point start = bench::Clock::now();
    for (int f = first; f < first + count; ++f) {
        FillQuads(quads.data(), f);
        glClearColor(0.125f, 0.125f, 0.125f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(quads.size() * sizeof(Vertex)), quads.data(), GL_DYNAMIC_DRAW);
        for (int i = 0; i < kQuads; ++i) {
            glBindTexture(GL_TEXTURE_2D, textures[i & 1]);
            glDrawArrays(GL_TRIANGLE_STRIP, i * 4, 4);
        }
        SDL_GL_SwapWindow(window);
    }
    glFinish();
    return bench::MillisecondsSince(start) / count;
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!d3d) {
        std::fprintf(stderr, "bench_device_draw: no Direct3D\n");
        return 1;
    }
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = kWidth;
    pp.BackBufferHeight = kHeight;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice8* device = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                 &device))) {
        std::fprintf(stderr, "bench_device_draw: no device\n");
        d3d->Release();
        return 1;
    }
    IDirect3DVertexBuffer8* vb = nullptr;
    device->CreateVertexBuffer(kQuads * 4 * sizeof(Vertex), D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT,
                               &vb);
    IDirect3DTexture8* textures[2] = {MakeTexture(device, 0xFFFF0000u), MakeTexture(device, 0xFF00FF00u)};
    device->SetStreamSource(0, vb, sizeof(Vertex));
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);

    // The plain drawing gets a context of its own, so that neither disturbs the state the other
    // keeps; both draw into the device's window.
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_GLContext deviceContext = SDL_GL_GetCurrentContext();
    SDL_GLContext plainContext = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!plainContext || !LoadPlainGl()) {
        std::fprintf(stderr, "bench_device_draw: no OpenGL for the comparison\n");
        return 1;
    }

    bench::Runs deviceTimes, plainTimes, ratios, deviceProcessor, plainProcessor, processorRatios;
    int frame = 0;
    for (int run = -1; run < kRuns; ++run) {  // run -1 warms both up
        SDL_GL_MakeCurrent(window, deviceContext);
        double start = bench::ProcessorMilliseconds();
        const double d = DeviceFrames(device, vb, textures, kFrames, frame);
        const double dp = (bench::ProcessorMilliseconds() - start) / kFrames;
        SDL_GL_MakeCurrent(window, plainContext);
        start = bench::ProcessorMilliseconds();
        const double p = PlainFrames(window, kFrames, frame);
        const double pp = (bench::ProcessorMilliseconds() - start) / kFrames;
        frame += kFrames;
        if (run < 0) continue;
        deviceTimes.Add(d);
        plainTimes.Add(p);
        ratios.Add(d / p);
        deviceProcessor.Add(dp);
        plainProcessor.Add(pp);
        processorRatios.Add(dp / pp);
    }
    SDL_GL_MakeCurrent(window, deviceContext);
    SDL_GL_DeleteContext(plainContext);

    std::printf("device_draw: %d textured quads a frame at %ux%u, %d runs of %d frames\n", kQuads, kWidth, kHeight,
                kRuns, kFrames);
    bench::PrintTimes("device, a frame", deviceTimes);
    bench::PrintTimes("plain OpenGL, a frame", plainTimes);
    std::printf("  device per draw call: %.2f us at the median\n", deviceTimes.Median() * 1e3 / kQuads);
    bench::PrintRatio("ratio device / plain OpenGL", ratios);
    bench::PrintTimes("device, processor time", deviceProcessor);
    bench::PrintTimes("plain OpenGL, processor time", plainProcessor);
    bench::PrintRatio("ratio in processor time", processorRatios);

    for (IDirect3DTexture8* t : textures)
        if (t) t->Release();
    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0);
    if (vb) vb->Release();
    device->Release();
    d3d->Release();
    return 0;
}
