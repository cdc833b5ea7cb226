// d3d8_backbuffer.cpp -- the device's off-screen back buffer: exactly the asked size, presented
// scaled into the window with letterboxing, and readable for tests.
#include "d3d8/d3d8_control.h"
#include "d3d8/d3d8_device.h"

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

}  // namespace

bool BackBuffer::Create(UINT w, UINT h, int sampleCount) {
    width = w;
    height = h;
    samples = sampleCount >= 2 ? sampleCount : 0;
    if (samples) {
        GLint maxSamples = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        samples = std::min(samples, (int)maxSamples);
        if (samples < 2) samples = 0;
    }
    gl::GenRenderbuffers(1, &colour);
    gl::BindRenderbuffer(GL_RENDERBUFFER, colour);
    if (samples)
        gl::RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, (GLsizei)w, (GLsizei)h);
    else
        gl::RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, (GLsizei)w, (GLsizei)h);
    gl::GenRenderbuffers(1, &depth);
    gl::BindRenderbuffer(GL_RENDERBUFFER, depth);
    if (samples)
        gl::RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, (GLsizei)w, (GLsizei)h);
    else
        gl::RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, (GLsizei)w, (GLsizei)h);
    gl::GenFramebuffers(1, &fbo);
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    gl::FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    gl::FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    bool complete = gl::CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete && samples) {
        gl::GenRenderbuffers(1, &resolveColour);
        gl::BindRenderbuffer(GL_RENDERBUFFER, resolveColour);
        gl::RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, (GLsizei)w, (GLsizei)h);
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

GLuint BackBuffer::Resolve() {
    if (!samples) return fbo;
    gl::BindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFbo);
    gl::BlitFramebuffer(0, 0, (GLint)width, (GLint)height, 0, 0, (GLint)width, (GLint)height, GL_COLOR_BUFFER_BIT,
                        GL_NEAREST);
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    return resolveFbo;
}

void BackBuffer::PresentTo(SDL_Window* window) {
    GLuint source = Resolve();
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (dw > 0 && dh > 0) {
        // The largest picture of the back buffer's shape that fits, centred on black.
        double scale = std::min((double)dw / width, (double)dh / height);
        int w = std::max(1, (int)(width * scale + 0.5)), h = std::max(1, (int)(height * scale + 0.5));
        int x = (dw - w) / 2, y = (dh - h) / 2;
        GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        gl::BindFramebuffer(GL_READ_FRAMEBUFFER, source);
        GLenum filter = (w == (int)width && h == (int)height) ? GL_NEAREST : GL_LINEAR;
        gl::BlitFramebuffer(0, 0, (GLint)width, (GLint)height, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT, filter);
        if (KeepingPresentedPictures()) KeepWindowPicture(dw, dh);
        SDL_GL_SwapWindow(window);
        if (scissor) glEnable(GL_SCISSOR_TEST);
    }
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
}

void BackBuffer::ReadPixels(std::vector<uint32_t>* pixels, bool opaque) {
    GLuint source = Resolve();
    std::vector<uint32_t> rows((size_t)width * height);
    gl::BindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, (GLsizei)width, (GLsizei)height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    gl::BindFramebuffer(GL_FRAMEBUFFER, fbo);
    // GL's rows run bottom up; the picture's run top down.
    pixels->resize(rows.size());
    for (UINT y = 0; y < height; ++y) {
        const uint32_t* src = rows.data() + (size_t)(height - 1 - y) * width;
        uint32_t* dst = pixels->data() + (size_t)y * width;
        for (UINT x = 0; x < width; ++x) dst[x] = opaque ? (src[x] | 0xFF000000u) : src[x];
    }
}

}  // namespace d3d8
