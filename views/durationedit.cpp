// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/durationedit.h"

#include "records/durationtext.h"
#include "records/numberformat.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

DurationEdit::DurationEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, &DurationEdit::durationEdited);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this]() { m_bShown = false; });
    // What was read is shown as the tables show it, once the user is done typing.
    connect(this, &QAbstractSpinBox::editingFinished, this, [this]() {
        if (hasDuration() && lineEdit()->text() != NumberFormat::duration(seconds()))
            showSeconds(seconds());
    });
}

DurationText::Reading DurationEdit::reading() const
{
    return DurationText::read(text());
}

QTime DurationEdit::time() const
{
    return hasDuration() ? QTime(0, 0).addSecs(seconds()) : QTime();
}

void DurationEdit::setTime(const QTime& time)
{
    if (time.isValid())
        showSeconds(QTime(0, 0).secsTo(time));
    else
        lineEdit()->clear();
    m_bShown = true;
}

bool DurationEdit::hasDuration() const
{
    return reading().ok;
}

QString DurationEdit::understood() const
{
    const DurationText::Reading r = reading();
    return r.ok ? DurationText::spoken(r.seconds) : r.reason;
}

int DurationEdit::seconds() const
{
    return reading().seconds; // 0 when the text is no duration
}

void DurationEdit::showSeconds(int seconds)
{
    lineEdit()->setText(NumberFormat::duration(seconds));
}

QValidator::State DurationEdit::validate(QString& input, int&) const
{
    // Every text may be on its way to a duration; what it is read as is shown beside the
    // field, and only a readable one can be stored.
    return DurationText::read(input).ok ? QValidator::Acceptable : QValidator::Intermediate;
}

void DurationEdit::stepBy(int steps)
{
    showSeconds(qBound(0, seconds() + steps, DurationText::kMaxSeconds));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled DurationEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    const int now = seconds();
    StepEnabled enabled = StepNone;
    if (now < DurationText::kMaxSeconds)
        enabled |= StepUpEnabled;
    if (now > 0)
        enabled |= StepDownEnabled;
    return enabled;
}

void DurationEdit::keyPressEvent(QKeyEvent* event)
{
    // A page is a minute here, not ten seconds.
    if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) && !isReadOnly()) {
        stepBy(event->key() == Qt::Key_PageUp ? 60 : -60);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (m_bShown && !isReadOnly() && !typed.isEmpty() && typed.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        lineEdit()->clear();
    QAbstractSpinBox::keyPressEvent(event);
}

QSize DurationEdit::sizeHint() const
{
    ensurePolished();
    // Room for the longest duration and a typed "1 h 10 min".
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("1 h 10 min ")) + 4;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option,
                                     QSize(width, lineEdit()->sizeHint().height()), this);
}

QSize DurationEdit::minimumSizeHint() const
{
    return sizeHint();
}
