// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/durationtext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("DurationText", text);
}

DurationText::Reading refused(const QString& reason)
{
    return {false, 0, reason};
}

DurationText::Reading within(qint64 seconds)
{
    if (seconds > DurationText::kMaxSeconds)
        return refused(tr("A duration must stay below 24 hours."));
    return {true, int(seconds), QString()};
}

DurationText::Reading colonForm(const QStringList& fields)
{
    // The first field takes any number ("75:00" is an hour and a quarter); the later ones are
    // minutes or seconds, always two digits, so that "4:5" is never taken for 4:05 or 4:50.
    for (int i = 1; i < fields.size(); ++i) {
        if (fields[i].size() != 2)
            return refused(tr("Two digits after each colon, as in 4:05."));
        if (fields[i].toInt() > 59)
            return refused(tr("Minutes and seconds after a colon go up to 59."));
    }
    if (fields.first().size() > 5)
        return refused(tr("A duration must stay below 24 hours."));
    const qint64 first = fields.first().toLongLong();
    if (fields.size() == 2)
        return within(first * 60 + fields[1].toInt());
    return within(first * 3600 + fields[1].toInt() * 60 + fields[2].toInt());
}

DurationText::Reading digitsOnly(const QString& digits)
{
    // Up to three digits are minutes; more are read from the right, as the time field of
    // earlier versions read them: "0430" 4:30, "10530" 1:05:30.
    if (digits.size() <= 3)
        return within(digits.toLongLong() * 60);
    if (digits.size() > 6)
        return refused(tr("Too many digits: type 1:05:30 or 10530 for 1 h 5 min 30 s."));
    const int seconds = digits.right(2).toInt();
    const int minutes = digits.mid(digits.size() - 4, 2).toInt();
    const int hours = digits.left(digits.size() - 4).toInt();
    if (seconds > 59 || minutes > 59)
        return refused(tr("%1 is read as [h]hmmss; minutes and seconds go up to 59.").arg(digits));
    return within(hours * 3600 + minutes * 60 + seconds);
}

DurationText::Reading unitForm(const QRegularExpressionMatch& m)
{
    qint64 seconds = 0;
    for (int group = 1, factor = 3600; group <= 3; ++group, factor /= 60) {
        const QString number = m.captured(group);
        if (number.size() > 5)
            return refused(tr("A duration must stay below 24 hours."));
        seconds += number.toLongLong() * factor;
    }
    return within(seconds);
}
} // namespace

DurationText::Reading DurationText::read(const QString& text)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return refused(tr("Type the duration, such as 4:30 or 1:05:30."));
    // "4.5" may mean 4:30 or 4:05; "Std." and "Min." are only abbreviations.
    static const QRegularExpression decimals(QStringLiteral("\\d\\s*[.,]\\s*\\d|^[.,]\\d"));
    if (decimals.match(typed).hasMatch())
        return refused(tr("No decimals: use 4:30 for 4 min 30 s."));

    static const QRegularExpression colons(QStringLiteral("^\\d+(:\\d+){1,2}$"));
    if (colons.match(typed).hasMatch())
        return colonForm(typed.split(QLatin1Char(':')));
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (digits.match(typed).hasMatch())
        return digitsOnly(typed);

    // Hours, minutes, seconds, each optional but in this order, blanks anywhere between.
    static const QRegularExpression units(
        QStringLiteral("^(?:(\\d+)\\s*(?:h|hrs?|hours?|std|stunden?)\\.?\\s*)?"
                       "(?:(\\d+)\\s*(?:m|mins?|minutes?|minuten?)\\.?\\s*)?"
                       "(?:(\\d+)\\s*(?:s|secs?|seconds?|sek|sekunden?)\\.?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = units.match(typed);
    if (m.hasMatch())
        return unitForm(m);
    return refused(tr("Not a duration: type 4:30, 1:05:30, 12 (minutes) or 4 min 30 s."));
}

QString DurationText::spoken(int seconds)
{
    const int h = seconds / 3600;
    const int min = seconds / 60 % 60;
    const int s = seconds % 60;
    QStringList parts;
    if (h > 0)
        parts << tr("%1 h").arg(h);
    if (min > 0)
        parts << tr("%1 min").arg(min);
    if (s > 0 || parts.isEmpty())
        parts << tr("%1 s").arg(s);
    return parts.join(QLatin1Char(' '));
}
