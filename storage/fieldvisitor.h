// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_FIELDVISITOR_H
#define TARVELO_FIELDVISITOR_H

#include <QDate>
#include <QString>
#include <QTime>

// The values of a record by column, for the rules that treat every table alike.
class FieldVisitor
{
public:
    virtual ~FieldVisitor() = default;
    virtual void number(const char* column, int value) = 0;
    virtual void text(const char* column, const QString& value) = 0;
    virtual void date(const char* column, const QDate& value) = 0;
    virtual void time(const char* column, const QTime& value) = 0;
};

#endif
