#include "ui/qt_ui_services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace tabulix::ui {

using framework::TModalResult;
using framework::TMsgDlgBtn;
using framework::TMsgDlgType;

namespace {

QMessageBox::Icon iconOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return QMessageBox::Warning;
        case TMsgDlgType::mtError: return QMessageBox::Critical;
        case TMsgDlgType::mtInformation: return QMessageBox::Information;
        case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
        case TMsgDlgType::mtCustom: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

struct ButtonText {
    TMsgDlgBtn button;
    const char* text;
    QMessageBox::ButtonRole role;
};

// The framework's buttons in its order, with the captions the Spanish programs show.
constexpr ButtonText kButtons[] = {
    {framework::mbYes, "&Sí", QMessageBox::YesRole},
    {framework::mbNo, "&No", QMessageBox::NoRole},
    {framework::mbOK, "Aceptar", QMessageBox::AcceptRole},
    {framework::mbCancel, "Cancelar", QMessageBox::RejectRole},
    {framework::mbAbort, "&Anular", QMessageBox::RejectRole},
    {framework::mbRetry, "&Reintentar", QMessageBox::AcceptRole},
    {framework::mbIgnore, "&Ignorar", QMessageBox::AcceptRole},
};

Qt::CursorShape shapeOf(framework::TCursor cursor) {
    switch (cursor) {
        case framework::crHourGlass: return Qt::WaitCursor;
        case framework::crSQLWait: return Qt::BusyCursor;
        case framework::crCross: return Qt::CrossCursor;
        case framework::crIBeam: return Qt::IBeamCursor;
        case framework::crNone: return Qt::BlankCursor;
        default: return Qt::ArrowCursor;
    }
}

bool onGuiThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

QString QtUiServices::defaultCaption(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return QStringLiteral("Advertencia");
        case TMsgDlgType::mtError: return QStringLiteral("Error");
        case TMsgDlgType::mtInformation: return QStringLiteral("Información");
        case TMsgDlgType::mtConfirmation: return QStringLiteral("Confirmación");
        case TMsgDlgType::mtCustom: break;
    }
    return QApplication::applicationDisplayName();
}

TModalResult QtUiServices::MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                                      framework::TMsgDlgButtons buttons) {
    if (onGuiThread()) return showBox(text, caption, type, buttons);
    TModalResult answer = TModalResult::mrNone;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = showBox(text, caption, type, buttons); },
        Qt::BlockingQueuedConnection);
    return answer;
}

TModalResult QtUiServices::showBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                                   framework::TMsgDlgButtons buttons) {
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(iconOf(type), caption.empty() ? defaultCaption(type) : QString::fromStdString(caption), body,
                    QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> shown;
    for (const ButtonText& b : kButtons) {
        if (!buttons.Contains(b.button)) continue;
        QPushButton* button = box.addButton(QString::fromUtf8(b.text), b.role);
        shown.emplace_back(button, b.button);
        if (shown.size() == 1) box.setDefaultButton(button);
        if (b.button == framework::mbCancel || b.button == framework::mbNo) box.setEscapeButton(button);
    }
    if (shown.empty()) box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    // The hourglass of a long operation must not hide the pointer over the box.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QGuiApplication::restoreOverrideCursor();
    for (const auto& [button, which] : shown)
        if (box.clickedButton() == button) return framework::ResultOf(which);
    // Closed without a button: the escape answer, as the desktop gives it.
    for (TMsgDlgBtn b : {framework::mbCancel, framework::mbNo})
        if (buttons.Contains(b)) return framework::ResultOf(b);
    return shown.empty() ? TModalResult::mrOk : framework::ResultOf(shown.front().second);
}

void QtUiServices::SetScreenCursor(framework::TCursor cursor) {
    if (!onGuiThread()) return;
    // The framework's cursor is a single value, not a stack: one override of ours at a time.
    if (cursor_ != framework::crDefault) QGuiApplication::restoreOverrideCursor();
    cursor_ = cursor;
    if (cursor != framework::crDefault) QGuiApplication::setOverrideCursor(QCursor(shapeOf(cursor)));
}

ScopedQtUiServices::ScopedQtUiServices() : previous_(framework::SetCurrentUi(&services_)) {}

ScopedQtUiServices::~ScopedQtUiServices() {
    services_.SetScreenCursor(framework::crDefault);
    framework::SetCurrentUi(previous_);
}

}  // namespace tabulix::ui
