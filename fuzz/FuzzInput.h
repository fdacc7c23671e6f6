#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as a deep copy: Qt may keep a raw-data array past the call.
inline QByteArray FuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Stops the run with the input saved when an invariant breaks (a crash libFuzzer reports).
#define FUZZ_ASSERT(condition)                                                                               \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            __builtin_trap();                                                                                \
    } while (false)
