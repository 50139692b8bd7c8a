#pragma once

#include <QString>

namespace scorewell::gui {

// Where a file shipped with the program (ReadMe.htm) is: beside the executable when it runs from
// its build folder, else in the data folder of the installation the executable belongs to.
// Empty when neither holds it.
QString ShippedFilePath(const QString& executableFolder, const QString& name);

} // namespace scorewell::gui
