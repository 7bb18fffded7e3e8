// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqltable.h"

#include "storage/sqlbase.h"
#include "storage/sqldriver.h"

namespace
{
QString textAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::decodeStoredText(bytes.data(), int(bytes.size()));
}

QDate dateAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::parseStoredDate(bytes.data(), int(bytes.size()));
}

QTime timeAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::parseStoredTime(bytes.data(), int(bytes.size()));
}

// Rows of SELECT *, by column position.
ModelEntry modelFromRow(SqlBase* db, const SqlDriver& d)
{
    return ModelEntry(db, textAt(d, 0), d.intAt(1), d.intAt(2));
}

AccuEntry accuFromRow(SqlBase* db, const SqlDriver& d)
{
    return AccuEntry(db, textAt(d, 1), textAt(d, 6), d.intAt(2), d.intAt(3), d.intAt(4), d.intAt(5),
                     d.intAt(0));
}

LogEntry logFromRow(SqlBase* db, const SqlDriver& d)
{
    return LogEntry(db, dateAt(d, 1), timeAt(d, 2), d.intAt(5), d.intAt(3), d.intAt(4), d.intAt(0));
}

void bindModel(SqlDriver& d, const ModelEntry& e)
{
    d.bind(e.m_strName);
    d.bind(e.m_iTyp);
}

void bindAccu(SqlDriver& d, const AccuEntry& e)
{
    d.bind(e.m_strBrand);
    d.bind(e.m_strDescr);
    d.bind(e.m_iCapacity);
    d.bind(e.m_iCells);
    d.bind(e.m_iStrength);
    d.bind(e.m_iTyp);
}

void bindLog(SqlDriver& d, const LogEntry& e)
{
    d.bind(e.m_date);
    d.bind(e.m_time);
    d.bind(e.m_iAccuId);
    d.bind(e.m_iModelId);
    d.bind(e.m_iCharged);
}

void modelFields(FieldVisitor& v, const ModelEntry& e)
{
    v.text("modelName", e.m_strName);
    v.number("modelTyp", e.m_iTyp);
}

void accuFields(FieldVisitor& v, const AccuEntry& e)
{
    v.text("accuBrand", e.m_strBrand);
    v.text("accuDescr", e.m_strDescr);
    v.number("accuCapacity", e.m_iCapacity);
    v.number("numCells", e.m_iCells);
    v.number("accuStrength", e.m_iStrength);
    v.number("accuTyp", e.m_iTyp);
}

void logFields(FieldVisitor& v, const LogEntry& e)
{
    v.date("date", e.m_date);
    v.time("time", e.m_time);
    v.number("accuId", e.m_iAccuId);
    v.number("modelId", e.m_iModelId);
    v.number("charged", e.m_iCharged);
}

class FieldValues : public FieldVisitor
{
public:
    void number(const char*, int value) override { values << value; }
    void text(const char*, const QString& value) override
    {
        values << value;
        texts << value;
    }
    void date(const char*, const QDate& value) override { values << value; }
    void time(const char*, const QTime& value) override { values << value; }

    QVariantList values;
    QStringList texts;
};
} // namespace

template <class Record> QVariantList SqlTable<Record>::values(const Record& record) const
{
    FieldValues out;
    fields(out, record);
    return out.values;
}

template <class Record> QStringList SqlTable<Record>::texts(const Record& record) const
{
    FieldValues out;
    fields(out, record);
    return out.texts;
}

template <class Record> QByteArray SqlTable<Record>::pageSql(int limit) const
{
    return QByteArray("SELECT * FROM ") + name + " WHERE " + idColumn + ">? ORDER BY " + idColumn +
           " LIMIT " + QByteArray::number(limit);
}

template <class Record> QByteArray SqlTable<Record>::restoreRowsSql(int rows) const
{
    const QByteArray one(restore);
    const QByteArray values = one.mid(one.lastIndexOf('('));
    QByteArray sql = one;
    sql.reserve(sql.size() + (rows - 1) * (values.size() + 1));
    for (int i = 1; i < rows; ++i)
        sql += ',' + values;
    return sql;
}

template <class Record> int SqlTable<Record>::restoreParameters() const
{
    return int(QByteArray(restore).count('?'));
}

template struct SqlTable<ModelEntry>;
template struct SqlTable<AccuEntry>;
template struct SqlTable<LogEntry>;

const SqlTable<ModelEntry> kModelTable{
    "modelList",
    "modelId",
    "INSERT INTO modelList(modelName,modelTyp) VALUES (?,?)",
    "INSERT INTO modelList(modelId,modelName,modelTyp) VALUES (?,?,?)",
    "UPDATE modelList SET modelName=?,modelTyp=? WHERE modelId=?",
    "DELETE FROM modelList WHERE modelId=?",
    "SELECT * FROM modelList WHERE modelId=?",
    "SELECT * FROM modelList ORDER BY modelId",
    bindModel,
    modelFromRow,
    modelFields};

const SqlTable<AccuEntry> kAccuTable{
    "accus",
    "accuId",
    "INSERT INTO accus(accuBrand,accuDescr,accuCapacity,numCells,accuStrength,accuTyp) "
    "VALUES (?,?,?,?,?,?)",
    "INSERT INTO accus(accuId,accuBrand,accuDescr,accuCapacity,numCells,accuStrength,accuTyp) "
    "VALUES (?,?,?,?,?,?,?)",
    "UPDATE accus SET accuBrand=?,accuDescr=?,accuCapacity=?,numCells=?,accuStrength=?,"
    "accuTyp=? WHERE accuId=?",
    "DELETE FROM accus WHERE accuId=?",
    "SELECT * FROM accus WHERE accuId=?",
    "SELECT * FROM accus ORDER BY accuId",
    bindAccu,
    accuFromRow,
    accuFields};

const SqlTable<LogEntry> kLogTable{
    "logList",
    "id",
    "INSERT INTO logList(date,time,accuId,modelId,charged) VALUES (?,?,?,?,?)",
    "INSERT INTO logList(id,date,time,accuId,modelId,charged) VALUES (?,?,?,?,?,?)",
    "UPDATE logList SET date=?,time=?,accuId=?,modelId=?,charged=? WHERE id=?",
    "DELETE FROM logList WHERE id=?",
    "SELECT * FROM logList WHERE id=?",
    "SELECT * FROM logList ORDER BY id",
    bindLog,
    logFromRow,
    logFields};
