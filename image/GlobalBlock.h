// Small owners for global memory: a block freed unless released, and a lock
// that unlocks when it goes out of scope.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <utility>

// Owns a global memory block until Release() hands it on.
class CGlobalBlock {
public:
    explicit CGlobalBlock(HGLOBAL hBlock = nullptr) : m_hBlock(hBlock) {}
    ~CGlobalBlock() {
        if (m_hBlock != nullptr) GlobalFree(m_hBlock);
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;

    HGLOBAL Get() const { return m_hBlock; }
    HGLOBAL Release() { return std::exchange(m_hBlock, nullptr); }
    // After a successful GlobalReAlloc the old handle is gone; track the new one.
    void Reset(HGLOBAL hBlock) { m_hBlock = hBlock; }

private:
    HGLOBAL m_hBlock;
};

// Locks a block for the lifetime of the object; Bytes() is the block's real extent.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL hBlock)
        : m_hBlock(hBlock), m_pData(hBlock != nullptr ? static_cast<std::uint8_t*>(GlobalLock(hBlock)) : nullptr) {}
    ~CGlobalLock() { Unlock(); }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;

    bool Locked() const { return m_pData != nullptr; }
    std::uint8_t* Data() const { return m_pData; }
    std::span<std::uint8_t> Bytes() const {
        return m_pData != nullptr ? std::span<std::uint8_t>(m_pData, GlobalSize(m_hBlock)) : std::span<std::uint8_t>();
    }
    void Unlock() {
        if (m_pData != nullptr) GlobalUnlock(m_hBlock);
        m_pData = nullptr;
    }

private:
    HGLOBAL m_hBlock;
    std::uint8_t* m_pData;
};
