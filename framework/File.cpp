// CFile over CreateFileA, ReadFile, WriteFile and CloseHandle.
#include "framework/File.h"

#include <utility>

CFile::~CFile() { Abort(); }

CFile::CFile(CFile&& other) noexcept : m_hFile(std::exchange(other.m_hFile, INVALID_HANDLE_VALUE)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
    if (this != &other) {
        Abort();
        m_hFile = std::exchange(other.m_hFile, INVALID_HANDLE_VALUE);
    }
    return *this;
}

CFile::CreateArgs CFile::MapOpenFlags(UINT nOpenFlags) {
    CreateArgs args{};
    switch (nOpenFlags & 3) {
        case modeWrite: args.access = GENERIC_WRITE; break;
        case modeReadWrite: args.access = GENERIC_READ | GENERIC_WRITE; break;
        default: args.access = GENERIC_READ; break;
    }
    switch (nOpenFlags & 0x70) {
        case shareExclusive: args.share = 0; break;
        case shareDenyWrite: args.share = FILE_SHARE_READ; break;
        case shareDenyRead: args.share = FILE_SHARE_WRITE; break;
        case shareDenyNone: args.share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
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
