#include "cli/regional_settings.h"

#include <QLocale>

const TNumberFormat& SystemNumberFormat()
{
    static const TNumberFormat format = [] {
        const QLocale locale = QLocale::system();
        TNumberFormat result;
        result.DecimalSeparator = locale.decimalPoint().toStdString();
        result.ThousandSeparator = locale.groupSeparator().toStdString();
        return result;
    }();
    return format;
}

const std::string& SystemLongTimeFormat()
{
    static const std::string pattern = QLocale::system().timeFormat(QLocale::LongFormat).toStdString();
    return pattern;
}
