#pragma once

#include <QKeySequence>
#include <QString>

namespace dictaro {

// The keys no command may take because typing, moving through the text or the desktop needs
// them (letters, Space, arrows, Ctrl+Right, Ctrl+O, ...), or because they open a menu (Alt+F).
namespace ReservedKeys {

// Why `combination` is reserved, in the interface language, naming it as `keyText`; empty when
// it is free.
QString reason(QKeyCombination combination, const QString& keyText);

} // namespace ReservedKeys
} // namespace dictaro
