// d3d8_backbuffer.cpp -- the device's back buffer: exactly the asked size, drawn straight into the
// window where the window's framebuffer is the same picture, else off-screen and presented scaled
// into the window with letterboxing; readable for tests.
#include "d3d8/d3d8_control.h"
#include "d3d8/d3d8_device.h"
#include "sdl/x11_lost_windows.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace d3d8 {

namespace {

// Copies the window's picture before it is swapped away (for tests).
void KeepWindowPicture(int w, int h) {
    std::vector<uint32_t> rows((size_t)w * h), picture((size_t)w * h);
    gl::BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    for (int y = 0; y < h; ++y)
        std::copy(rows.begin() + (size_t)(h - 1 - y) * w, rows.begin() + (size_t)(h - y) * w,
                  picture.begin() + (size_t)y * w);
    StorePresentedPicture(std::move(picture), (UINT)w, (UINT)h);
}

// A renderbuffer of the format, multisampled when samples is not 0.
GLuint MakeRenderbuffer(GLenum format, int samples, UINT w, UINT h) {
    GLuint name = 0;
    gl::GenRenderbuffers(1, &name);
    gl::BindRenderbuffer(GL_RENDERBUFFER, name);
    if (samples)
        gl::RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, (GLsizei)w, (GLsizei)h);
    else
        gl::RenderbufferStorage(GL_RENDERBUFFER, format, (GLsizei)w, (GLsizei)h);
    return name;
}

GLint WindowAttachmentSize(GLenum attachment, GLenum size) {
    GLint bits = 0;
    gl::GetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, size, &bits);
    return bits;
}

// Clears the window's drawable of w x h outside the picture at (x, y) of pw x ph (GL's rows).
void ClearBars(int w, int h, int x, int y, int pw, int ph) {
    const int bars[4][4] = {{0, 0, x, h}, {x + pw, 0, w - x - pw, h}, {x, 0, pw, y}, {x, y + ph, pw, h - y - ph}};
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_SCISSOR_TEST);
    for (const auto& bar : bars) {
        if (bar[2] <= 0 || bar[3] <= 0) continue;
        glScissor(bar[0], bar[1], bar[2], bar[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

bool BackBuffer::Create(UINT w, UINT h, int sampleCount, bool withAlpha, int depthBufferBits, bool discard) {
    width = w;
    height = h;
    discardOnPresent = discard;
    samples = sampleCount >= 2 ? sampleCount : 0;
    if (samples) {
        GLint maxSamples = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        samples = std::min(samples, (int)maxSamples);
        if (samples < 2) samples = 0;
    }
    // The off-screen buffers take the window's formats wherever those give what was asked (alpha
    // where the format has it, at least the asked depth), so that a frame is the same picture
    // wherever it is drawn.
    gl::BindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint windowSamples = 0;
    glGetIntegerv(GL_SAMPLES, &windowSamples);
    const GLint windowAlpha = WindowAttachmentSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE);
    const GLint windowDepth = WindowAttachmentSize(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE);
    alpha = withAlpha || windowAlpha > 0;
    depthBits = depthBufferBits && windowDepth > depthBufferBits && windowDepth <= 32 ? windowDepth : depthBufferBits;
    windowMatches = WindowAttachmentSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE) == 8 &&
                    WindowAttachmentSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_GREEN_SIZE) == 8 &&
                    WindowAttachmentSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_BLUE_SIZE) == 8 &&
                    windowAlpha == (alpha ? 8 : 0) && (!depthBits || windowDepth == depthBits) && windowSamples == 0;
    const GLenum colourFormat = alpha ? GL_RGBA8 : GL_RGB8;
    const GLenum depthFormat = depthBits <= 16 ? GL_DEPTH_COMPONENT16
                               : depthBits <= 24 ? GL_DEPTH_COMPONENT24
                                                 : GL_DEPTH_COMPONENT32;
    colour = MakeRenderbuffer(colourFormat, samples, w, h);
    gl::GenFramebuffers(1, &fbo);
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    gl::FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depthBits) {
        depth = MakeRenderbuffer(depthFormat, samples, w, h);
        gl::FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    }
    bool complete = gl::CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete && samples) {
        resolveColour = MakeRenderbuffer(colourFormat, 0, w, h);
        gl::GenFramebuffers(1, &resolveFbo);
        gl::BindFramebuffer(GL_FRAMEBUFFER, resolveFbo);
        gl::FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColour);
        complete = gl::CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    gl::BindRenderbuffer(GL_RENDERBUFFER, 0);
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    return complete;
}

void BackBuffer::Destroy() {
    if (fbo) gl::DeleteFramebuffers(1, &fbo);
    if (resolveFbo) gl::DeleteFramebuffers(1, &resolveFbo);
    if (colour) gl::DeleteRenderbuffers(1, &colour);
    if (depth) gl::DeleteRenderbuffers(1, &depth);
    if (resolveColour) gl::DeleteRenderbuffers(1, &resolveColour);
    fbo = resolveFbo = colour = depth = resolveColour = 0;
}

void BackBuffer::ChooseTarget(SDL_Window* window) {
    bool wanted = false;
    if (!samples && discardOnPresent && window) {
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(window, &dw, &dh);
        wanted = windowMatches && dw == (int)width && dh == (int)height;
    }
    direct = wanted;
    gl::BindFramebuffer(GL_FRAMEBUFFER, Target());
}

GLuint BackBuffer::Resolve() {
    if (direct) return 0;
    if (!samples) return fbo;
    gl::BindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFbo);
    gl::BlitFramebuffer(0, 0, (GLint)width, (GLint)height, 0, 0, (GLint)width, (GLint)height, GL_COLOR_BUFFER_BIT,
                        GL_NEAREST);
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    return resolveFbo;
}

void BackBuffer::PresentTo(SDL_Window* window) {
    // A window that another program destroyed takes no picture (the driver would wait for ever on
    // its swap); until the message loop destroys it, frames go on into the back buffer alone.
    if (x11lost::IsGone(window)) {
        ChooseTarget(nullptr);
        return;
    }
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (direct) {
        if (KeepingPresentedPictures()) KeepWindowPicture((int)width, (int)height);
        SDL_GL_SwapWindow(window);
    } else if (dw > 0 && dh > 0) {
        const GLuint source = Resolve();
        // The largest picture of the back buffer's shape that fits, centred on black.
        const double scale = std::min((double)dw / width, (double)dh / height);
        const int w = std::max(1, (int)(width * scale + 0.5)), h = std::max(1, (int)(height * scale + 0.5));
        const int x = (dw - w) / 2, y = (dh - h) / 2;
        const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
        gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        ClearBars(dw, dh, x, y, w, h);
        gl::BindFramebuffer(GL_READ_FRAMEBUFFER, source);
        const GLenum filter = (w == (int)width && h == (int)height) ? GL_NEAREST : GL_LINEAR;
        gl::BlitFramebuffer(0, 0, (GLint)width, (GLint)height, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT, filter);
        if (KeepingPresentedPictures()) KeepWindowPicture(dw, dh);
        SDL_GL_SwapWindow(window);
        if (scissor) glEnable(GL_SCISSOR_TEST);
    }
    ChooseTarget(window);
}

void BackBuffer::ReadPixels(std::vector<uint32_t>* pixels, bool opaque) {
    const GLuint source = Resolve();
    std::vector<uint32_t> rows((size_t)width * height);
    gl::BindFramebuffer(GL_READ_FRAMEBUFFER, source);
    if (source == 0) glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, (GLsizei)width, (GLsizei)height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    gl::BindFramebuffer(GL_FRAMEBUFFER, Target());
    // GL's rows run bottom up; the picture's run top down.
    pixels->resize(rows.size());
    for (UINT y = 0; y < height; ++y) {
        const uint32_t* src = rows.data() + (size_t)(height - 1 - y) * width;
        uint32_t* dst = pixels->data() + (size_t)y * width;
        for (UINT x = 0; x < width; ++x) dst[x] = opaque ? (src[x] | 0xFF000000u) : src[x];
    }
}

}  // namespace d3d8
