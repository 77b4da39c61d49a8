// The framework's exceptions: CException, the base every framework error
// derives from, and CFileException, raised by CFile.
#pragma once

#include <windows.h>

class CException {
public:
    virtual ~CException() = default;
};

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1) : m_cause(cause), m_lOsError(lOsError) {}

    // The cause that best describes a Win32 error code.
    static int OsErrorToCause(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
};
