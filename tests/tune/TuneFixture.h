// A simulated controller for the tuning searches: the panel of a profile, tuning settings from
// a text given by the test, and the console text the searches print.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "PanelFixture.h"
#include "params/CParam_INI.h"
#include "tune/Searches.h"

class TuneFixture : public PanelFixture {
  public:
    // The settings file holds `text`; its sections are the settings file's own.
    void LoadSettings(const std::string& text) {
        ASSERT_EQ(C().Ini().InitFileName(), 1);
        std::ofstream(C().Ini().SettingsPath()) << text;
        testing::internal::CaptureStdout();
        const int loaded = C().Ini().LoadTxtFile();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(loaded, 0);
    }

    // Settings for image tuning with the given rule, frequency count and "WorkingFreq%d" list.
    static std::string ImageSettings(int rule, int frequencies, const std::string& workingFreqs) {
        return "[Tuning Parameter]\nNumsOfFreq = " + std::to_string(frequencies) + "\n" +
               workingFreqs + "\n[Tuning Parameter-RD]\nTuningRule = " + std::to_string(rule) +
               "\n[---Image Parameter]\nEnableImageTune = 1\nAD_Level% = 15\nTouch% = 10\n"
               "SignalLevel = 10\nNoiseResist = 7\n";
    }

    // A job for the image scan, completed from the settings, with the phase targets spread.
    TuneJob ImageJob() {
        C().Hw().InitPhaseTargets();
        TuneJob job;
        InitTuneJob(C(), job);
        CompleteTuneJob(C(), job, 1);
        return job;
    }

    // Runs a step with the console captured into console_.
    template <typename Step>
    bool Logged(Step step) {
        testing::internal::CaptureStdout();
        const bool result = step();
        console_ = testing::internal::GetCapturedStdout();
        return result;
    }

    bool Printed(const std::string& text) const { return console_.find(text) != std::string::npos; }

    // The panel line of an active Tx channel, from the truth file.
    int TxLine(int channel) const {
        const auto lines = Truth().Numbers("frame_tx_lines");
        return channel >= 0 && channel < static_cast<int>(lines.size())
                   ? static_cast<int>(lines[static_cast<size_t>(channel)])
                   : -1;
    }
    // The optimal delay of the Tx line phase target k drives.
    int OptimalDelayOfTarget(int k) const {
        const auto delays = Truth().Numbers("optimal_delay");
        const int line = TxLine(controller_->Hw().PhaseTarget(k));
        return line >= 0 && line < static_cast<int>(delays.size())
                   ? static_cast<int>(delays[static_cast<size_t>(line)])
                   : -100;
    }

    std::string console_;
};
