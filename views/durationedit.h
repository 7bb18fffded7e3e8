// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_DURATIONEDIT_H
#define TARVELO_DURATIONEDIT_H

#include "records/durationtext.h"

#include <QAbstractSpinBox>
#include <QTime>

// A field for a duration that takes what people type (see DurationText): free text, read as a
// whole. Typing over a value the field was given replaces all of it, wherever the cursor stands,
// so that nothing of the old value is left in the new one. Up and Down step the seconds, Page Up
// and Page Down the minutes. Durations travel as a time after midnight, below a day, as the store
// keeps them.
class DurationEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit DurationEdit(QWidget* parent = nullptr);

    // The duration typed; a null time while the text is no duration.
    QTime time() const;
    // Shows a duration in the form the tables use; a null time empties the field.
    void setTime(const QTime& time);
    bool hasDuration() const;
    // What the text was read as ("4 min 30 s"), or why it cannot be read.
    QString understood() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

signals:
    // The text changed, by typing or from the program.
    void durationEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    StepEnabled stepEnabled() const override;

private:
    void showSeconds(int seconds);
    DurationText::Reading reading() const;
    int seconds() const;

    // The text is a value the program showed, not yet touched by the user: the first
    // character typed replaces it wherever the cursor stands.
    bool m_bShown = false;
};

#endif
