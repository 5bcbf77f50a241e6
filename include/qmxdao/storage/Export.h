// Export macro for the classes this library hands to applications. The library is built with
// hidden visibility, so only what carries QMX_EXPORT is part of its boundary.
#pragma once

#if defined(QMXDAO_PORTABLE_API)
// The host compiles the classes itself, over the C boundary: nothing is imported but C functions.
#define QMX_EXPORT
#include "qmxdao/c_api.h"
namespace qmxdao::portable {
struct Access;
}
#elif defined(_WIN32)
#if defined(QMXDAOSERVICE_BUILDING)
#define QMX_EXPORT __declspec(dllexport)
#elif defined(QMXDAOSERVICE_STATIC)
#define QMX_EXPORT
#else
#define QMX_EXPORT __declspec(dllimport)
#endif
#else
#define QMX_EXPORT __attribute__((visibility("default")))
#endif
