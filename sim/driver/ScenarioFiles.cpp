#include "ScenarioFiles.h"

#include <algorithm>
#include <map>
#include <set>

namespace sim::driver {

namespace fs = std::filesystem;

namespace {

bool isScenario(const fs::directory_entry& entry)
{
    std::error_code error;
    return entry.path().extension() == ".scn" && entry.is_regular_file(error);
}

// The deepest folder that holds every one of `paths` (absolute, normal).
fs::path commonFolder(const std::vector<fs::path>& paths)
{
    fs::path common = paths.front().parent_path();
    for (const auto& path : paths) {
        while (!common.empty() && common != common.root_path()) {
            auto relative = path.lexically_relative(common);
            if (!relative.empty() && *relative.begin() != "..")
                break;
            common = common.parent_path();
        }
    }
    return common;
}

}

ScenarioFiles::Expanded ScenarioFiles::expand(const std::vector<fs::path>& arguments, bool recursive)
{
    Expanded expanded;
    for (const auto& argument : arguments) {
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            expanded.files.push_back(argument);
            continue;
        }
        std::vector<fs::path> found;
        auto collect = [&](auto iterator) {
            for (auto end = decltype(iterator)(); iterator != end; iterator.increment(error)) {
                if (isScenario(*iterator))
                    found.push_back(iterator->path());
                if (error)
                    break;
            }
        };
        if (recursive)
            collect(fs::recursive_directory_iterator(argument, fs::directory_options::skip_permission_denied, error));
        else
            collect(fs::directory_iterator(argument, error));
        if (error) {
            expanded.errors.push_back(argument.string() + ": cannot read the folder: " + error.message());
            continue;
        }
        if (found.empty()) {
            expanded.errors.push_back(argument.string() + ": no .scn file in the folder" + (recursive ? "" : " (--recursive plays its sub-folders too)"));
            continue;
        }
        std::sort(found.begin(), found.end(), [&](const fs::path& a, const fs::path& b) {
            return a.lexically_relative(argument).generic_string() < b.lexically_relative(argument).generic_string();
        });
        expanded.files.insert(expanded.files.end(), found.begin(), found.end());
    }
    return expanded;
}

std::vector<std::string> ScenarioFiles::runNames(const std::vector<fs::path>& files)
{
    std::map<std::string, std::vector<size_t>> byStem;
    for (size_t i = 0; i < files.size(); ++i)
        byStem[files[i].stem().string()].push_back(i);

    std::vector<std::string> names(files.size());
    for (const auto& [stem, indices] : byStem) {
        if (indices.size() == 1) {
            names[indices.front()] = stem;
            continue;
        }
        std::vector<fs::path> absolute;
        for (size_t index : indices)
            absolute.push_back(fs::absolute(files[index]).lexically_normal());
        fs::path common = commonFolder(absolute);
        for (size_t k = 0; k < indices.size(); ++k) {
            fs::path relative = absolute[k].lexically_relative(common);
            names[indices[k]] = (relative.parent_path() / absolute[k].stem()).generic_string();
        }
    }
    // The same file twice: number the later ones.
    std::set<std::string> taken;
    for (auto& name : names) {
        std::string candidate = name;
        for (int copy = 2; taken.contains(candidate); ++copy)
            candidate = name + "-" + std::to_string(copy);
        taken.insert(candidate);
        name = candidate;
    }
    return names;
}

}
