#pragma once

#include <QLocale>

#include "platform/reglages_regionaux.h"

namespace tq {

// The regional settings of a locale: its short date pattern, the separator
// that follows the hour in its short time pattern (":" when it has none) and
// the first character of its decimal separator.
TReglagesRegionaux ReglagesDepuisQLocale(const QLocale& locale);

} // namespace tq
