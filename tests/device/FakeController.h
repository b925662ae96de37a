// A controller over the fake device library, with its objects built but not initialised, in a
// fresh temporary working folder. Console output is captured so tests can count messages.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FakeDevLink.h"
#include "ScratchFolder.h"
#include "controller/Controller.h"

class FakeControllerTest : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        g_fake = &device_;
    }
    void TearDown() override {
        controller_.reset();
        g_fake = nullptr;
        std::filesystem::current_path(previous_);
    }

    // Builds the controller of a type code; handle false gives a controller without a device.
    CController& Build(int typeCode, bool handle = true) {
        DevRecord record{};
        std::snprintf(record.path, sizeof record.path, "sim:fake");
        record.id2 = 0xC000;
        controller_ = std::make_unique<CController>(FakeDevLink(), handle ? kFakeHandle : nullptr,
                                                    record, typeCode, "K7P100", options_);
        controller_->CreateObjects();
        return *controller_;
    }

    static int Occurrences(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    FakeDevice device_;
    BuilderOptions options_;
    std::unique_ptr<CController> controller_;
    testsupport::ScratchFolder scratch_{"controller-test"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::filesystem::path previous_;
};
