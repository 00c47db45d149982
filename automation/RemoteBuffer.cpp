#include "RemoteBuffer.h"

#include <vector>

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : m_size(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process) m_remote = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
    if (!m_remote || offset + size > m_size) return false;
    return WriteProcessMemory(m_process, Remote() + offset, data, size, nullptr) != 0;
}

bool RemoteBuffer::Read(void* data, size_t offset, size_t size) const {
    if (!m_remote || offset + size > m_size) return false;
    return ReadProcessMemory(m_process, Remote() + offset, data, size, nullptr) != 0;
}

std::string RemoteBuffer::ReadString(size_t offset, size_t max) const {
    std::vector<char> buf(max + 1, '\0');
    if (!Read(buf.data(), offset, max)) return std::string();
    return std::string(buf.data());
}
