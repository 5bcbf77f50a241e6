// The fallback of the wide formatting on POSIX: glibc's vfwprintf gives up on the whole text when
// a narrow argument ("%S" in the system's conventions) does not decode in the current locale. This
// formats one conversion at a time, taking each argument by its type, and decodes narrow texts
// byte by byte, with '?' for what does not decode; the rest of the text is kept.
#pragma once

#include <cstdarg>
#include <string>

namespace qmxdao::platform {

// format follows glibc's conventions (the output of the translation of the system's ones).
bool formatLeniently(std::wstring& out, const wchar_t* format, va_list args);

}  // namespace qmxdao::platform
