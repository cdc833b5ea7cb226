// gl_functions.h -- the OpenGL entry points beyond 1.1 that the device uses, loaded through SDL.
// Include the layer's Windows headers before this one.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// One row per entry point: its pointer type and its name without the "gl" prefix.
#define TREVOK_GL_FUNCTIONS(X)                                         \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                       \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                 \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                       \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)       \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)         \
    X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                       \
    X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC, GetFramebufferAttachmentParameteriv) \
    X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                     \
    X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)               \
    X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                     \
    X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)               \
    X(PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC, RenderbufferStorageMultisample) \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                 \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                           \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                 \
    X(PFNGLBUFFERDATAPROC, BufferData)                                 \
    X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                           \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                       \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                 \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                       \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)               \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)       \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)     \
    X(PFNGLVERTEXATTRIB4FPROC, VertexAttrib4f)                         \
    X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)         \
    X(PFNGLCREATESHADERPROC, CreateShader)                             \
    X(PFNGLDELETESHADERPROC, DeleteShader)                             \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                             \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                           \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                               \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                     \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                           \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                           \
    X(PFNGLATTACHSHADERPROC, AttachShader)                             \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                 \
    X(PFNGLBINDFRAGDATALOCATIONPROC, BindFragDataLocation)             \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                               \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                             \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                   \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                 \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                 \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                   \
    X(PFNGLUNIFORM1IVPROC, Uniform1iv)                                 \
    X(PFNGLUNIFORM1FPROC, Uniform1f)                                   \
    X(PFNGLUNIFORM1FVPROC, Uniform1fv)                                 \
    X(PFNGLUNIFORM3FVPROC, Uniform3fv)                                 \
    X(PFNGLUNIFORM3IVPROC, Uniform3iv)                                 \
    X(PFNGLUNIFORM4FPROC, Uniform4f)                                   \
    X(PFNGLUNIFORM4FVPROC, Uniform4fv)                                 \
    X(PFNGLUNIFORMMATRIX3FVPROC, UniformMatrix3fv)                     \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                     \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                           \
    X(PFNGLGENSAMPLERSPROC, GenSamplers)                               \
    X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                         \
    X(PFNGLBINDSAMPLERPROC, BindSampler)                               \
    X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)                   \
    X(PFNGLSAMPLERPARAMETERFPROC, SamplerParameterf)                   \
    X(PFNGLSAMPLERPARAMETERFVPROC, SamplerParameterfv)                 \
    X(PFNGLBLENDEQUATIONPROC, BlendEquation)

namespace gl {

#define TREVOK_GL_DECLARE(type, name) extern type name;
TREVOK_GL_FUNCTIONS(TREVOK_GL_DECLARE)
#undef TREVOK_GL_DECLARE

// Loads every entry point from the current context; false (naming the first one missing on
// standard error) when one cannot be had.
bool LoadFunctions();

}  // namespace gl
