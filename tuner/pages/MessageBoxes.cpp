#include "pages/MessageBoxes.h"

#include <QMessageBox>
#include <QString>

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool ShowUserMessage(const tuner::UserMessage& message) {
    const auto icon =
        message.icon == tuner::MessageIcon::kError ? QMessageBox::Critical : QMessageBox::NoIcon;
    const auto buttons = message.buttons == tuner::MessageButtons::kYesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(icon, ToQString(message.caption), ToQString(message.text), buttons);
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}
