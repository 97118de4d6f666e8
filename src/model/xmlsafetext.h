#pragma once

#include <QString>

// text with every character XML 1.0 cannot hold (control characters other
// than tab and line ends, lone surrogates, U+FFFE and U+FFFF) replaced by a
// blank. Texts and names pass through it when they are entered, so what is
// saved is what the user sees.
QString xmlSafeText(const QString &text);
