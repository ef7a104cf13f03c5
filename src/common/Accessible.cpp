#include "common/Accessible.h"

#include <QWidget>

namespace velmor {

void SetAccessibleText(QWidget* control, const QString& name, const QString& description) {
    if (control->accessibleName() != name)
        control->setAccessibleName(name); // tells the tools that it changed
    const QString said = description.isEmpty() ? control->toolTip() : description;
    if (control->accessibleDescription() != said)
        control->setAccessibleDescription(said);
}

} // namespace velmor
