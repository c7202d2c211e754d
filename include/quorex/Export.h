// Symbol visibility: the shared library exports only what is marked QUOREX_API.
#pragma once

#if defined(QUOREX_BUILDING)
#define QUOREX_API __attribute__((visibility("default")))
#else
#define QUOREX_API
#endif
