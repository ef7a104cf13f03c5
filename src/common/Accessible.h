#pragma once

#include <QString>

class QWidget;

namespace velmor {

// What assistive tools (screen readers, magnifiers, test drivers) are told of a control: its
// name, what it shows or what it is; its description, what its tooltip says. Qt reads both
// off labels, buttons and the like by itself; controls that paint their text or show none
// (captions, meters) call this, again whenever what they show changes. An empty
// description leaves the control's tooltip as its description.
void SetAccessibleText(QWidget* control, const QString& name, const QString& description = {});

} // namespace velmor
