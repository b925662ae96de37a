// TovrexTuner_K7PXXX: live view of a touch controller.
#include <QApplication>

#include "app/CTovrexTunerT3300App.h"

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    CTovrexTunerT3300App tuner;
    return tuner.Run();
}
