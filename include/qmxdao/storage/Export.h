// Export macro for the classes this library hands to applications. The library is built with
// hidden visibility, so only what carries QMX_EXPORT is part of its boundary.
#pragma once

#if defined(_WIN32)
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
