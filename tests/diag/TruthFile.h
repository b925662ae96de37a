// The simulator's truth file as a test reads it.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// The truth file as "key = value" lines; lists split at commas.
class TruthFile {
  public:
    explicit TruthFile(const std::filesystem::path& path) {
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) {
            const auto eq = line.find(" = ");
            if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
            values_[line.substr(0, eq)] = line.substr(eq + 3);
        }
    }
    bool Has(const std::string& key) const { return values_.count(key) != 0; }
    std::string Text(const std::string& key) const {
        auto it = values_.find(key);
        return it == values_.end() ? std::string() : it->second;
    }
    std::vector<double> Numbers(const std::string& key) const {
        std::vector<double> out;
        std::stringstream in(Text(key));
        for (std::string item; std::getline(in, item, ',');) out.push_back(std::stod(item));
        return out;
    }
    int Number(const std::string& key) const {
        const auto n = Numbers(key);
        return n.empty() ? -1 : static_cast<int>(n.front());
    }
    // Expected magnitude and phase (degrees) of frame row t.
    std::vector<double> Magnitude(int t) const { return Numbers("magnitude." + std::to_string(t)); }
    std::vector<double> Phase(int t) const { return Numbers("phase." + std::to_string(t)); }

  private:
    std::map<std::string, std::string> values_;
};
