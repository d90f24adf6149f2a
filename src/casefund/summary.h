#pragma once

#include "common/money.h"

#include <QString>

// The paragraph that explains a distribution, built piece by piece in the order it is written.
// The on-screen form and the kept form differ only in the surplus sentence.

// "已交案款：P元，债权总额：T元（总比例100v%）。" CR LF "分配案款中："
QString 摘要开头(Money paid, Money claims, Money overallRatio);

// The label of class k as its sentence opens: "诉讼费用", "抵押物优先权：", …
QString 类别名(int k);

// The sentence of class k: label, A_k, "元(", pct_k and the class ending.
QString 类别句(int k, Money amount, Money percent);

// Surplus: on screen a new line "余款…归还交款人。", kept "，余款…归还交款人。" on the same line.
QString 余款句屏幕(Money surplus);
QString 余款句保存(Money surplus);
