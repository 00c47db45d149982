// A block of memory inside the process that owns a window, for messages whose parameters point to memory
// (tree and list items): the pointer must be valid in the receiving process.
#pragma once

#include <windows.h>

#include <string>

class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_remote != nullptr; }
    // The block's address in the other process.
    char* Remote() const { return static_cast<char*>(m_remote); }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t offset, size_t size) const;
    // A NUL-terminated text of at most max bytes at offset.
    std::string ReadString(size_t offset, size_t max) const;

private:
    HANDLE m_process = nullptr;
    void* m_remote = nullptr;
    size_t m_size = 0;
};
