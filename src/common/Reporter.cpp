#include "common/Reporter.h"

#include "common/NoticeBar.h"
#include "legacy/Error.h"

#include <QApplication>
#include <QMessageBox>

namespace velmor {

QString DescriptionOf(const std::exception& error) {
    if (auto* own = dynamic_cast<const Error*>(&error))
        return own->description();
    return QString::fromLocal8Bit(error.what());
}

void Reporter::reportError(const std::exception& error) {
    failure(DescriptionOf(error));
}

void Reporter::failure(const QString& description) {
    show(description, kAppTitle, Icon::Exclamation);
}

bool trapped(Reporter& reporter, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        reporter.reportError(e);
    }
    return false;
}

bool trappedInBox(Reporter& reporter, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        reporter.show(DescriptionOf(e), kAppTitle, Icon::Exclamation);
    }
    return false;
}

void MessageBoxReporter::show(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MessageBoxReporter::setNoticeBar(NoticeBar* bar) {
    bar_ = bar;
}

void MessageBoxReporter::notice(const QString& text) {
    if (bar_)
        bar_->tell(text);
    else
        Reporter::notice(text);
}

bool MessageBoxReporter::ask(const QString& question, Answer byDefault) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(kAppTitle);
    box.setText(question);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(byDefault == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No); // closing the box is never a Yes
    return box.exec() == QMessageBox::Yes;
}

} // namespace velmor
