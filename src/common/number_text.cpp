#include "common/number_text.h"

#include "common/varnel_error.h"

#include <charconv>
#include <cmath>
#include <limits>

QString 半角化(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QChar(u' ');
    }
    return out;
}

QString 去尾空格(const QString &text) {
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == QLatin1Char(' '))
        --n;
    return text.left(n);
}

namespace {

class Reader {
  public:
    explicit Reader(const QString &s) : s(s) {}
    bool atEnd() const { return i >= s.size(); }
    QChar peek() const { return atEnd() ? QChar() : s.at(i); }
    bool take(char c) {
        if (!atEnd() && s.at(i) == QLatin1Char(c)) {
            ++i;
            return true;
        }
        return false;
    }
    bool isDigit() const { return !atEnd() && s.at(i) >= u'0' && s.at(i) <= u'9'; }
    // Reads a run of digits into out; returns how many were read.
    int digits(QByteArray &out) {
        int n = 0;
        while (isDigit()) {
            out.append(char(s.at(i++).unicode()));
            ++n;
        }
        return n;
    }

  private:
    const QString &s;
    qsizetype i = 0;
};

// Integer part: plain digits, or groups of three after a first group of one to three digits.
bool readIntegerPart(Reader &r, QByteArray &digits) {
    const int first = r.digits(digits);
    if (first == 0)
        return true;
    if (r.peek() != QLatin1Char(','))
        return true;
    if (first > 3)
        return false;
    while (r.take(',')) {
        if (r.digits(digits) != 3)
            return false;
    }
    return true;
}

bool readExponent(Reader &r, long long &exponent) {
    if (!r.take('e') && !r.take('E'))
        return true;
    bool negative = r.take('-');
    if (!negative)
        r.take('+');
    QByteArray digits;
    if (r.digits(digits) == 0)
        return false;
    long long e = 0;
    for (char d : digits) {
        e = e * 10 + (d - '0');
        if (e > 1'000'000'000)
            e = 1'000'000'000; // far beyond any double; saturate
    }
    exponent = negative ? -e : e;
    return true;
}

} // namespace

std::optional<DecimalText> 读数字(const QString &text) {
    const QString s = 半角化(text).trimmed();
    Reader r(s);
    DecimalText n;
    n.negative = r.take('-');
    if (!n.negative)
        r.take('+');
    QByteArray digits;
    digits.reserve(s.size());
    if (!readIntegerPart(r, digits))
        return std::nullopt;
    long long fraction = 0;
    if (r.take('.'))
        fraction = r.digits(digits);
    if (digits.isEmpty())
        return std::nullopt;
    long long exponent = 0;
    if (!readExponent(r, exponent) || !r.atEnd())
        return std::nullopt;
    // Normalise: strip leading and trailing zeros into the exponent.
    qsizetype lead = 0;
    while (lead < digits.size() && digits.at(lead) == '0')
        ++lead;
    qsizetype end = digits.size();
    long long trailing = 0;
    while (end > lead && digits.at(end - 1) == '0') {
        --end;
        ++trailing;
    }
    n.digits = digits.mid(lead, end - lead);
    n.exponent = n.digits.isEmpty() ? 0 : exponent - fraction + trailing;
    // Beyond the range of a double: not a number.
    const long long magnitude = n.exponent + n.digits.size();
    if (!n.digits.isEmpty() && magnitude > 309)
        return std::nullopt;
    if (!n.digits.isEmpty() && magnitude == 309) {
        double v = 0;
        QByteArray t = n.digits + 'e' + QByteArray::number(n.exponent);
        auto res = std::from_chars(t.constData(), t.constData() + t.size(), v);
        if (res.ec != std::errc() || !std::isfinite(v))
            return std::nullopt;
    }
    return n;
}

bool 是数字(const QString &text) {
    return 读数字(text).has_value();
}

std::optional<double> 数值(const QString &text) {
    const auto n = 读数字(text);
    if (!n)
        return std::nullopt;
    if (n->digits.isEmpty())
        return n->negative ? -0.0 : 0.0;
    const QByteArray t = n->digits + 'e' + QByteArray::number(n->exponent);
    double v = 0;
    const auto res = std::from_chars(t.constData(), t.constData() + t.size(), v);
    if (res.ec == std::errc::result_out_of_range)
        v = 0.0; // underflow: a vanishingly small number counts as zero
    return n->negative ? -v : v;
}

std::optional<std::int32_t> 取整32位(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::int32_t 长整数值(const QString &text) {
    const std::optional<double> v = 数值(text);
    if (!v)
        throw VarnelError(类型不匹配说明);
    const std::optional<std::int32_t> whole = 取整32位(*v);
    if (!whole)
        溢出();
    return *whole;
}
