// CFile over CreateFileA, ReadFile, WriteFile and CloseHandle, and the
// replacing move.
#include "framework/File.h"

#include <utility>

CFile::~CFile() { Abort(); }

CFile::CreateArgs CFile::MapOpenFlags(UINT nOpenFlags) {
    CreateArgs args{};
    switch (nOpenFlags & 3) {
        case modeReadWrite: args.access = GENERIC_READ | GENERIC_WRITE; break;
        default: args.access = GENERIC_READ; break;
    }
    switch (nOpenFlags & 0x70) {
        case shareExclusive: args.share = 0; break;
        case shareDenyWrite: args.share = FILE_SHARE_READ; break;
        default: args.share = 0; break;  // compatibility mode is exclusive on Win32
    }
    args.creation = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    return args;
}

BOOL CFile::Open(const char* path, UINT nOpenFlags, CFileException* pError) {
    Abort();
    const CreateArgs args = MapOpenFlags(nOpenFlags);
    HANDLE handle = CreateFileA(path, args.access, args.share, nullptr, args.creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (pError != nullptr) {
            const LONG error = static_cast<LONG>(GetLastError());
            *pError = CFileException(CFileException::OsErrorToCause(error), error);
        }
        return FALSE;
    }
    m_hFile = handle;
    return TRUE;
}

void CFile::ThrowOsError(DWORD error) {
    throw CFileException(CFileException::OsErrorToCause(static_cast<LONG>(error)), static_cast<LONG>(error));
}

DWORD CFile::GetLength() const {
    DWORD high = 0;
    const DWORD low = GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE) {
        const DWORD error = GetLastError();
        if (error != NO_ERROR) ThrowOsError(error);
    }
    return low;
}

UINT CFile::Read(void* buffer, UINT nCount) {
    if (nCount == 0) return 0;
    DWORD read = 0;
    if (!ReadFile(m_hFile, buffer, nCount, &read, nullptr)) ThrowOsError(GetLastError());
    return read;
}

void CFile::Write(const void* buffer, UINT nCount) {
    if (nCount == 0) return;
    DWORD written = 0;
    if (!WriteFile(m_hFile, buffer, nCount, &written, nullptr)) ThrowOsError(GetLastError());
    if (written != nCount) throw CFileException(CFileException::diskFull, -1);
}

void CFile::Close() {
    if (!IsOpen()) return;
    HANDLE handle = std::exchange(m_hFile, INVALID_HANDLE_VALUE);
    if (!CloseHandle(handle)) ThrowOsError(GetLastError());
}

void CFile::Abort() {
    if (!IsOpen()) return;
    CloseHandle(std::exchange(m_hFile, INVALID_HANDLE_VALUE));
}

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || path[slash - 1] == ':') return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

namespace {

MoveFileExProc g_pfnMoveFileEx = ::MoveFileExA;
MoveFileProc g_pfnMoveFile = ::MoveFileA;

}  // namespace

void SetFileMoves(MoveFileExProc pfnMoveFileEx, MoveFileProc pfnMoveFile) {
    g_pfnMoveFileEx = pfnMoveFileEx != nullptr ? pfnMoveFileEx : ::MoveFileExA;
    g_pfnMoveFile = pfnMoveFile != nullptr ? pfnMoveFile : ::MoveFileA;
}

BOOL ReplaceFileWith(const char* from, const char* to) {
    if (g_pfnMoveFileEx(from, to, MOVEFILE_REPLACE_EXISTING)) return TRUE;
    if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return FALSE;
    char aside[MAX_PATH] = {};
    if (::GetTempFileNameA(FolderOf(to).c_str(), "zro", 0, aside) == 0) return FALSE;
    ::DeleteFileA(aside);  // a name of our own, free for the rename
    const bool hadOld = ::GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES;
    if (hadOld && !g_pfnMoveFile(to, aside)) return FALSE;
    if (!g_pfnMoveFile(from, to)) {
        if (hadOld) g_pfnMoveFile(aside, to);
        return FALSE;
    }
    if (hadOld) ::DeleteFileA(aside);
    return TRUE;
}
