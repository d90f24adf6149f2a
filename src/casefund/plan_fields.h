#pragma once

#include "output/document_fields.h"

#include <QDate>

// The distribution plan document (分配方案): the fields its template may hold and their values
// for one case.
//
// The document: «法院名称», «案件名称», «案号», «分配说明», «债权金额合计», «分配合计»,
// «分配合计大写», «交款合计», «余款», «日期». «案号» is the case number in the case's name, or
// the blank number line for the clerk's pen. «分配说明» is the distribution of the rows explained
// in the court's form (court_text.h), each of its lines a paragraph of its own (a paragraph
// separator between them). A paragraph holding «余款» is left out unless the money paid in
// exceeds the claims.
// A claim row, repeated for each row of the claims table that has a creditor or an amount:
// «序号», «债权人», «债权金额», «债权性质», «其中抵押优先金额», «分配金额», «备注».
// A payment row, repeated for each row of the payments table that has a payer or an amount:
// «序号», «交款人», «交款金额», «交款时间», «交款备注».
// Amounts are grouped by commas with two decimals (1,234,567.80); an amount cell that is not a
// number is written as it stands.

// The case as the window holds it.
struct 方案内容 {
    // The data rows of the payments table (交款人, 金额, 交款时间, 备注) and of the claims table
    // (债权人或案款项目, 债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注).
    QList<QStringList> 交款, 债权;
    QString 分配说明; // as the window shows it; the document states the distribution afresh
    QString 案件名称, 法院名称;
    QDate 日期;
};

文书字段 分配方案字段(const 方案内容 &c);
