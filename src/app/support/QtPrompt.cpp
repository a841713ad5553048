#include "support/QtPrompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

namespace korvan::gui {
namespace {

constexpr const char* boxTitle = "Korvan";

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer answerOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return Answer::Cancel;
    }
}

Answer safeAnswer(Buttons buttons) {
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

const char* answerName(Answer answer) {
    return answer == Answer::No ? "No" : "Cancel";
}

void writeUnattended(const std::string& line) {
    std::fprintf(stderr, "korvan: %s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace

QtPrompt::QtPrompt(QObject* parent) : QObject(parent) {}

template <class Show> void QtPrompt::onUiThread(Show&& show) {
    if (QThread::currentThread() == thread())
        show();
    else
        QMetaObject::invokeMethod(this, std::forward<Show>(show), Qt::BlockingQueuedConnection);
}

void QtPrompt::message(std::string_view text) {
    if (unattended_) {
        writeUnattended(std::string(text));
        return;
    }
    const QString shown = toQString(text);
    onUiThread([this, shown] {
        QMessageBox box(QMessageBox::Information, boxTitle, shown, QMessageBox::Ok, window_);
        box.setAccessibleName(shown);
        box.exec();
    });
}

Answer QtPrompt::ask(QuestionId, std::string_view text, Buttons buttons) {
    if (unattended_) {
        const Answer answer = safeAnswer(buttons);
        writeUnattended(std::string(text) + " (answered " + answerName(answer) +
                        ": no one can see the question)");
        return answer;
    }
    const QString shown = toQString(text);
    Answer answer = Answer::Cancel;
    onUiThread([&, shown] {
        QMessageBox box(QMessageBox::Question, boxTitle, shown, standardButtons(buttons), window_);
        box.setAccessibleName(shown);
        answer = answerOf(box.exec());
    });
    return answer;
}

std::optional<std::string> QtPrompt::chooseSaveFile(const FileRequest& request) {
    if (unattended_) {
        writeUnattended("the save dialog is cancelled: no one can see it");
        return std::nullopt;
    }
    std::optional<std::string> chosen;
    onUiThread([&] {
        QFileDialog dialog(window_, QString(), toQString(request.suggestedName), toQString(request.filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(toQString(request.defaultExtension));
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().front().toStdString();
    });
    return chosen;
}

} // namespace korvan::gui
