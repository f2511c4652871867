#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

// Small Debian packages built with dpkg-deb for tests of the device's package manager.
struct TestPackage {
    std::string name {};
    std::string version { "1.0" };
    std::string depends {};
    std::map<std::string, std::string> files {}; // device path -> content
    std::string postinst {};                 // script body after "#!/bin/sh"; empty: none
    std::string postrm {};

    // Builds folder/<file>; returns its path.
    std::filesystem::path build(const std::filesystem::path& folder, const std::string& file) const
    {
        namespace fs = std::filesystem;
        auto staging = folder / (".staging-" + file);
        fs::remove_all(staging);
        fs::create_directories(staging / "DEBIAN");
        for (const auto& [path, content] : files) {
            auto target = staging / fs::path(path).relative_path();
            fs::create_directories(target.parent_path());
            std::ofstream(target) << content;
        }
        std::ofstream control(staging / "DEBIAN/control");
        control << "Package: " << name << "\nVersion: " << version << "\nArchitecture: all\nMaintainer: Tests <tests@example.com>\n";
        if (!depends.empty())
            control << "Depends: " << depends << "\n";
        control << "Description: a package for tests\n";
        control.close();
        for (const auto& [script, body] : { std::pair { "postinst", postinst }, std::pair { "postrm", postrm } }) {
            if (body.empty())
                continue;
            std::ofstream(staging / "DEBIAN" / script) << "#!/bin/sh\nset -e\n" << body << "\n";
            fs::permissions(staging / "DEBIAN" / script, fs::perms(0755));
        }
        auto output = folder / file;
        std::string command = "dpkg-deb --root-owner-group --build '" + staging.string() + "' '" + output.string() + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("dpkg-deb failed for " + file);
        fs::remove_all(staging);
        return output;
    }
};
