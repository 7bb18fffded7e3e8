// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_EXPORTDIALOG_H
#define TARVELO_EXPORTDIALOG_H

#include "exchange/csvwriter.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

// What File > Export writes: the log as the table shows it, or the statistics per model or per
// pack, and in which form of CSV.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    enum class What { Log, ModelStats, AccuStats };

    // germanFirst: the German spreadsheet form is offered first (a German user most likely
    // wants it).
    ExportDialog(QWidget* parent, bool germanFirst);

    What what() const;
    CsvWriter::Format format() const;

private:
    QRadioButton* m_pRadioLog;
    QRadioButton* m_pRadioModelStats;
    QRadioButton* m_pRadioAccuStats;
    QCheckBox* m_pCheckGerman;
    QCheckBox* m_pCheckByteOrderMark;
};

#endif
