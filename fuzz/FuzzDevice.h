#pragma once

// A simulated device for fuzz targets that read files at device paths: one temporary folder per
// process stands for "/", made at first use and removed at exit. Each input is written to the
// path the product reads, so the whole reading path runs as it does on the device.

#include <foundation/DeviceRoot.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace fuzzing {

class FuzzDevice {
public:
    static FuzzDevice& shared()
    {
        static FuzzDevice device;
        return device;
    }

    std::filesystem::path hostPath(const std::string& devicePath) const { return m_root + devicePath; }

    // Writes `bytes` as the file at `devicePath`, making its folder first.
    void place(const std::string& devicePath, std::span<const uint8_t> bytes) const
    {
        auto path = hostPath(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    void remove(const std::string& devicePath) const
    {
        std::error_code ignored;
        std::filesystem::remove_all(hostPath(devicePath), ignored);
    }

    ~FuzzDevice()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    FuzzDevice()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
    }

    std::string m_root;
};

}
