// A test double of the controller behind the device session: scripted commands, versions and
// failures, and a trace of every call the spine makes.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/DeviceSession.h"

class FakeSession : public CDeviceSession {
  public:
    struct Command {
        uint32_t needs = 0;
        uint32_t code = 0;  // what the handler returns
        std::function<void()> effect;
    };

    bool discovers = true;
    std::set<uint16_t> failingModes;
    std::map<std::string, Command> commands;
    std::map<ParamSet, SetVersions> versions;
    std::map<char, std::string> keys;
    std::atomic<bool> disconnected{false};
    std::vector<std::string> trace;

    bool Discover() override {
        trace.push_back("discover");
        return discovers;
    }
    void Close() override { trace.push_back("close"); }
    bool SwitchWorkMode(uint16_t mode) override {
        trace.push_back("mode " + std::to_string(mode));
        return failingModes.count(mode) == 0;
    }
    std::optional<uint32_t> CommandNeeds(const std::string& name) override {
        const auto it = commands.find(name);
        if (it == commands.end()) return std::nullopt;
        return it->second.needs;
    }
    SetVersions Versions(ParamSet set) override { return versions[set]; }
    uint32_t RunHandler(const std::string& name) override {
        trace.push_back("run " + name);
        Command& c = commands.at(name);
        if (c.effect) c.effect();
        return c.code;
    }
    bool Disconnected() const override { return disconnected; }
    std::string HelpText() override { return "Command List:\n"; }
    std::string MenuCommand(char key) override {
        const auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    }
};
