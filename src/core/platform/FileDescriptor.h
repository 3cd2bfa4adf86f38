#pragma once

#include <unistd.h>
#include <utility>

namespace hv {

// A file descriptor (file, pipe end, socket) closed when it goes out of scope.
class TFd {
public:
    explicit TFd(int fd = -1) noexcept : m_Fd(fd) {}
    TFd(TFd&& other) noexcept : m_Fd(std::exchange(other.m_Fd, -1)) {}
    TFd& operator=(TFd&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_Fd, -1));
        }
        return *this;
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() { Close(); }

    int Get() const noexcept { return m_Fd; }
    bool Valid() const noexcept { return m_Fd >= 0; }

    // Closes the descriptor held and takes fd instead.
    void Reset(int fd = -1) noexcept {
        Close();
        m_Fd = fd;
    }
    // Closes the descriptor now; false when close reported an error (a write that did not reach
    // the file), true also when nothing was open.
    bool Close() noexcept {
        if (m_Fd < 0) {
            return true;
        }
        const bool ok = ::close(std::exchange(m_Fd, -1)) == 0;
        return ok;
    }

private:
    int m_Fd;
};

} // namespace hv
