// File virtualization on Windows 10/11: a 32-bit program without a
// requestedExecutionLevel (the games among them) that writes under Program
// Files writes to the user's VirtualStore instead, and reads prefer those
// copies. A program that is not virtualized (run as administrator, or
// 64-bit) writes the real folder, which the game then never reads.
#pragma once

#include <string>

namespace velmora {

class FileVirtualization {
public:
    virtual ~FileVirtualization() = default;
    // Whether this process's writes are redirected to the VirtualStore.
    virtual bool isVirtualized() = 0;
    // The user's VirtualStore folder (under the local application data
    // folder), "" where there is none.
    virtual std::string storeFolder() = 0;
};

FileVirtualization& platformFileVirtualization();

}  // namespace velmora
