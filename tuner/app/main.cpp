// TovrexTuner_K7PXXX: live view of a touch controller.
#include <QApplication>

#include "app/CTovrexTunerT3300App.h"
#include "platform/Interrupt.h"

int main(int argc, char* argv[]) {
    // Ctrl+C or SIGTERM: the tuner leaves as when its window is closed (the controller back in
    // normal mode and closed), then ends with the conventional status.
    platform::CatchInterrupts(platform::kInterruptKey | platform::kTerminate);
    QApplication qt(argc, argv);
    CTovrexTunerT3300App tuner;
    const int status = tuner.Run();
    if (const int signal = platform::InterruptSignal())
        return platform::ExitStatusForInterrupt(signal);
    return status;
}
