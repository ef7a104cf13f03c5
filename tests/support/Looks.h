#pragma once

#include <QWidget>

namespace velmor::test {

// Whether a control's caption is drawn in the enabled text colour rather than the disabled
// one, read off the pixels of the control rendered to an image: the darkest pixel inside its
// border is the caption's ink.
bool CaptionLooksEnabled(QWidget* control);

} // namespace velmor::test
