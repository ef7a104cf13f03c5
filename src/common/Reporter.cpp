#include "common/Reporter.h"

#include "common/Error.h"

#include <QApplication>
#include <QMessageBox>

namespace velmor {

void Reporter::reportError(const QString& description) {
    show(description, kAppTitle, Icon::Exclamation);
}

void Reporter::reportError(const std::exception& error) {
    if (auto* own = dynamic_cast<const Error*>(&error))
        reportError(own->description());
    else
        reportError(QString::fromLocal8Bit(error.what()));
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

} // namespace velmor
