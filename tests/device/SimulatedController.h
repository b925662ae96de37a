// The builder's model of a simulated controller, opened and initialised as start-up does, in a
// fresh working folder: for tests that need chips which really hold and measure registers, and for
// device faults that the simulator's profile switches on.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "ScratchFolder.h"
#include "chips/CSlave.h"
#include "controller/Controller.h"
#include "device/CAPI.h"
#include "device/DevLinkApi.h"

using Image = std::array<uint8_t, 68>;

class SimulatedController {
  protected:
    // Opens the first controller of the simulator's model and leaves it in command mode. A fatal
    // failure inside stops the test's set-up (check HasFatalFailure()).
    void Open(const std::string& model, int typeCode) {
        scratch_.emplace("chip-sim-test");
        folder_ = scratch_->Path();
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        setenv("DEVLINK", ("sim:" + model).c_str(), 1);

        DevRecord record{};
        devEnumerate(
            nullptr,
            [](DevRecord* r, const char*, void* ctx, uint32_t, uint32_t, uint16_t, uint16_t) {
                *static_cast<DevRecord*>(ctx) = *r;
                return 1;
            },
            &record);
        ASSERT_NE(record.path[0], '\0');
        DevHandle handle = devOpen(record);
        ASSERT_NE(handle, nullptr);
        BuilderOptions options;
        options.folders.workingFolder = folder_.string() + "/";
        controller_ =
            std::make_unique<CController>(RealDevLink(), handle, record, typeCode, model, options);
        controller_->CreateObjects();
        testing::internal::CaptureStdout();
        controller_->Initialise();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(controller_->Api().SwitchWorkMode(0x8000));
        chip_ = &controller_->Chip();
    }

    void Close() {
        controller_.reset();
        unsetenv("DEVLINK");
        if (!previous_.empty()) std::filesystem::current_path(previous_);
        scratch_.reset();
    }

    CAPI& Api() { return controller_->Api(); }

    std::optional<testsupport::ScratchFolder> scratch_;
    std::filesystem::path folder_, previous_;
    std::unique_ptr<CController> controller_;
    CSlave* chip_ = nullptr;
    Image image_{};
};
