// The library's two error types. Both carry a fixed message, the source module that raised it
// and the line; copying copies the three values and nothing is owned.
#pragma once

#include "quorex/Export.h"

// Base of both error types; not thrown on its own.
class QUOREX_API CError {
public:
    constexpr CError(const char* message, const char* file, int line) noexcept
        : m_message(message), m_file(file), m_line(line) {}
    const char* GetMessage() const noexcept { return m_message; }
    const char* GetFile() const noexcept { return m_file; }
    int GetLine() const noexcept { return m_line; }

private:
    const char* m_message;
    const char* m_file;
    int m_line;
};

// Misuse: a call that can never succeed as written.
class QUOREX_API CDesignError : public CError {
public:
    using CError::CError;
};

// A failure of the environment: a file, a socket, the peer.
class QUOREX_API CRuntimeError : public CError {
public:
    using CError::CError;
};
