// CFile: a Win32 file handle with open modes, and reads, writes and closes
// that raise CFileException on failure. Owns its handle. Beside it, the file
// operations on paths: a replacing move that also works on the 95/98 family.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Exception.h"

class CFile {
public:
    // Open flags; combine one access mode, one sharing mode and modeCreate.
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
    };

    CFile() = default;
    ~CFile();  // closes a file still open, ignoring errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Never raises. On failure the object stays closed and `pError`, when given,
    // receives the cause.
    BOOL Open(const char* path, UINT nOpenFlags, CFileException* pError = nullptr);

    // The length in bytes (low 32 bits); the position is left where it was.
    DWORD GetLength() const;
    // Bytes read: fewer than asked at the end of the file, 0 for a count of 0.
    UINT Read(void* buffer, UINT nCount);
    // Writes every byte; a short write raises with the cause diskFull.
    void Write(const void* buffer, UINT nCount);
    void Close();
    // Closes without raising, whatever happens.
    void Abort();

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    // The CreateFileA arguments a set of open flags maps to.
    struct CreateArgs {
        DWORD access;
        DWORD share;
        DWORD creation;
    };
    static CreateArgs MapOpenFlags(UINT nOpenFlags);

private:
    [[noreturn]] static void ThrowOsError(DWORD error);
};

// The folder part of `path` ("." when there is none), for a file beside it.
std::string FolderOf(const std::string& path);

// Puts the file `from` in the place of `to`, replacing it. The 95/98 family has
// no working MoveFileExA: there the old file goes aside, the new one in, and the
// old one is deleted, or put back when the new one cannot go in.
BOOL ReplaceFileWith(const char* from, const char* to);
using MoveFileExProc = BOOL(WINAPI*)(LPCSTR from, LPCSTR to, DWORD flags);
using MoveFileProc = BOOL(WINAPI*)(LPCSTR from, LPCSTR to);
// For tests: the system's moves replaced (null restores them).
void SetFileMoves(MoveFileExProc pfnMoveFileEx, MoveFileProc pfnMoveFile);
