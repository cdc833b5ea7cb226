// jpeg_errors.h -- a libjpeg error manager that returns to the caller's setjmp instead of
// ending the program, and keeps libjpeg's messages off standard error.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace layer::image {

struct JpegErrors {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours
    std::jmp_buf jump;
};

[[noreturn]] inline void JpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

inline void JpegQuietMessage(j_common_ptr) {}

// Sets the manager up; the caller stores the result in its cinfo.err and calls setjmp(jump).
inline jpeg_error_mgr* UseJpegErrors(JpegErrors* errors) {
    jpeg_std_error(&errors->pub);
    errors->pub.error_exit = JpegErrorExit;
    errors->pub.output_message = JpegQuietMessage;
    return &errors->pub;
}

}  // namespace layer::image
