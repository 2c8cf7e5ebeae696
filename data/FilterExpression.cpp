#include "data/FilterExpression.h"

#include "data/TextLists.h"

#include <cmath>
#include <optional>

namespace {

enum class Tok { Ident, String, Number, Op, LParen, RParen, Comma, Minus, End };

struct Token {
    Tok kind;
    QString text; // identifier (as written), string contents, number as written, operator
    int pos;      // 1-based position of the token's first character
};

[[noreturn]] void fail(int pos, const QString& what)
{
    throw FilterError(QStringLiteral("Filter error at position %1: %2").arg(pos).arg(what).toStdString(), pos, what);
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        const int pos = int(i) + 1;
        if (c.isSpace()) {
            ++i;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype j = i;
            while (j < n && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('$')))
                ++j;
            out.push_back({Tok::Ident, s.mid(i, j - i), pos});
            i = j;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            // A number stops at the first character that cannot continue it,
            // so 03and reads as 03, then and.
            qsizetype j = i;
            while (j < n && s[j].isDigit())
                ++j;
            if (j < n && s[j] == QLatin1Char('.') && j + 1 < n && s[j + 1].isDigit()) {
                ++j;
                while (j < n && s[j].isDigit())
                    ++j;
            }
            out.push_back({Tok::Number, s.mid(i, j - i), pos});
            i = j;
        } else if (c == QLatin1Char('\'')) {
            QString text;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && s[j + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                text += s[j++];
            }
            if (!closed)
                fail(pos, QStringLiteral("unterminated text"));
            out.push_back({Tok::String, text, pos});
            i = j;
        } else if (c == QLatin1Char('(')) {
            out.push_back({Tok::LParen, QStringLiteral("("), pos});
            ++i;
        } else if (c == QLatin1Char(')')) {
            out.push_back({Tok::RParen, QStringLiteral(")"), pos});
            ++i;
        } else if (c == QLatin1Char(',')) {
            out.push_back({Tok::Comma, QStringLiteral(","), pos});
            ++i;
        } else if (c == QLatin1Char('-')) {
            out.push_back({Tok::Minus, QStringLiteral("-"), pos});
            ++i;
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=') || c == QLatin1Char('!')) {
            const QString two = s.mid(i, 2);
            QString op;
            if (two == QLatin1String("<=") || two == QLatin1String(">=") || two == QLatin1String("<>"))
                op = two;
            else if (two == QLatin1String("!="))
                op = QStringLiteral("<>");
            else if (two == QLatin1String("=="))
                op = QStringLiteral("=");
            else if (c == QLatin1Char('!'))
                fail(pos, QStringLiteral("unexpected character '!'"));
            const qsizetype length = op.isEmpty() ? 1 : 2;
            if (op.isEmpty())
                op = QString(c);
            out.push_back({Tok::Op, op, pos});
            i += length;
        } else {
            // A character beyond the first plane is named whole: half of it
            // would be no text at all.
            const bool par = c.isHighSurrogate() && i + 1 < n && s[i + 1].isLowSurrogate();
            const QString caractere = c.isSurrogate() && !par ? QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                                                               : s.mid(i, par ? 2 : 1);
            fail(pos, QStringLiteral("unexpected character '%1'").arg(caractere));
        }
    }
    out.push_back({Tok::End, QString(), int(n) + 1});
    return out;
}

struct Operand {
    enum class Kind { Field, Text, Number } kind = Kind::Text;
    int field = -1;
    bool fieldIsText = false;
    bool fieldByValue = false;
    QString text; // text literal, or the number as written
    double number = 0;
};

// A value while evaluating: null, a text, or a number (with the text it was
// written as, when it is a literal).
struct Val {
    bool null = false;
    bool isText = false;
    bool isLiteralNumber = false;
    bool byValue = false; // a code of a numeric column
    QString text;
    double number = 0;
};

enum class CmpOp { Eq, Ne, Lt, Le, Gt, Ge };

} // namespace

struct FilterExpression::Node {
    enum class Kind { Or, And, Not, Compare, In, IsNull } kind;
    std::vector<std::unique_ptr<Node>> children;
    Operand lhs, rhs;
    std::vector<Operand> list;
    CmpOp op = CmpOp::Eq;
    bool negated = false;
};

namespace {

using Node = FilterExpression::Node;

class Parser {
public:
    Parser(const QString& text, const std::vector<FilterExpression::FieldInfo>& fields)
        : tokens_(tokenize(text)), fields_(fields)
    {
    }

    std::unique_ptr<Node> parse()
    {
        if (peek().kind == Tok::End)
            fail(peek().pos, QStringLiteral("empty expression"));
        auto node = orExpr();
        if (peek().kind != Tok::End)
            fail(peek().pos, QStringLiteral("unexpected '%1'").arg(peek().text));
        return node;
    }

private:
    // Nesting of parentheses and NOT is bounded, so that a damaged setting
    // cannot exhaust the stack.
    static constexpr int kMaxDepth = 64;
    struct Nesting {
        Parser& p;
        Nesting(Parser& parser, int pos) : p(parser)
        {
            if (++p.depth_ > kMaxDepth)
                fail(pos, QStringLiteral("nesting deeper than %1 levels").arg(kMaxDepth));
        }
        ~Nesting() { --p.depth_; }
    };

    const Token& peek() const { return tokens_[at_]; }
    Token take() { return tokens_[at_++]; }
    bool isKeyword(const char* word) const
    {
        return peek().kind == Tok::Ident && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    void expectKeyword(const char* word)
    {
        if (!isKeyword(word))
            fail(peek().pos, QStringLiteral("expected %1").arg(QLatin1String(word)));
        ++at_;
    }
    void expect(Tok kind, const char* what)
    {
        if (peek().kind != kind)
            fail(peek().pos, QStringLiteral("expected %1").arg(QLatin1String(what)));
        ++at_;
    }

    // or := and { OR and }
    std::unique_ptr<Node> orExpr()
    {
        auto left = andExpr();
        if (!isKeyword("OR"))
            return left;
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Or;
        node->children.push_back(std::move(left));
        while (isKeyword("OR")) {
            ++at_;
            node->children.push_back(andExpr());
        }
        return node;
    }

    // and := not { AND not }
    std::unique_ptr<Node> andExpr()
    {
        auto left = notExpr();
        if (!isKeyword("AND"))
            return left;
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::And;
        node->children.push_back(std::move(left));
        while (isKeyword("AND")) {
            ++at_;
            node->children.push_back(notExpr());
        }
        return node;
    }

    // not := NOT not | predicate
    std::unique_ptr<Node> notExpr()
    {
        if (isKeyword("NOT")) {
            Nesting nesting(*this, peek().pos);
            ++at_;
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Not;
            node->children.push_back(notExpr());
            return node;
        }
        return predicate();
    }

    // predicate := "(" or ")" | operand ( cmp operand | [NOT] IN "(" list ")" | IS [NOT] NULL )
    std::unique_ptr<Node> predicate()
    {
        if (peek().kind == Tok::LParen) {
            Nesting nesting(*this, peek().pos);
            ++at_;
            auto inner = orExpr();
            expect(Tok::RParen, "')'");
            return inner;
        }
        auto node = std::make_unique<Node>();
        node->lhs = operand();
        if (peek().kind == Tok::Op) {
            Token op = take();
            node->kind = Node::Kind::Compare;
            node->op = op.text == QLatin1String("=")    ? CmpOp::Eq
                       : op.text == QLatin1String("<>") ? CmpOp::Ne
                       : op.text == QLatin1String("<")  ? CmpOp::Lt
                       : op.text == QLatin1String("<=") ? CmpOp::Le
                       : op.text == QLatin1String(">")  ? CmpOp::Gt
                                                        : CmpOp::Ge;
            node->rhs = operand();
            return node;
        }
        if (isKeyword("NOT") || isKeyword("IN")) {
            if (isKeyword("NOT")) {
                ++at_;
                node->negated = true;
            }
            expectKeyword("IN");
            node->kind = Node::Kind::In;
            expect(Tok::LParen, "'('");
            if (peek().kind == Tok::RParen || peek().kind == Tok::End)
                throw FilterError("IN predicate list may not be empty", peek().pos,
                                  QStringLiteral("IN predicate list may not be empty"));
            node->list.push_back(constant());
            while (peek().kind == Tok::Comma) {
                ++at_;
                node->list.push_back(constant());
            }
            expect(Tok::RParen, "')'");
            return node;
        }
        if (isKeyword("IS")) {
            ++at_;
            node->kind = Node::Kind::IsNull;
            if (isKeyword("NOT")) {
                ++at_;
                node->negated = true;
            }
            expectKeyword("NULL");
            return node;
        }
        fail(peek().pos, peek().kind == Tok::End ? QStringLiteral("unexpected end of expression")
                                                 : QStringLiteral("expected an operator, IN or IS before '%1'").arg(peek().text));
    }

    // operand := field | constant
    Operand operand()
    {
        if (peek().kind == Tok::Ident && !isReserved()) {
            Token t = take();
            for (size_t i = 0; i < fields_.size(); ++i) {
                if (fields_[i].name.compare(t.text, Qt::CaseInsensitive) == 0) {
                    Operand o;
                    o.kind = Operand::Kind::Field;
                    o.field = int(i);
                    o.fieldIsText = fields_[i].isText;
                    o.fieldByValue = fields_[i].byValue;
                    return o;
                }
            }
            fail(t.pos, QStringLiteral("unknown field '%1'").arg(t.text));
        }
        return constant();
    }

    // constant := text | ["-"] number
    Operand constant()
    {
        if (peek().kind == Tok::String) {
            Operand o;
            o.kind = Operand::Kind::Text;
            o.text = take().text;
            return o;
        }
        bool minus = false;
        if (peek().kind == Tok::Minus) {
            ++at_;
            minus = true;
        }
        if (peek().kind == Tok::Number) {
            Operand o;
            o.kind = Operand::Kind::Number;
            o.text = (minus ? QStringLiteral("-") : QString()) + take().text;
            o.number = o.text.toDouble();
            return o;
        }
        fail(peek().pos, peek().kind == Tok::End ? QStringLiteral("unexpected end of expression")
                                                 : QStringLiteral("expected a field, a text or a number before '%1'")
                                                       .arg(peek().text));
    }

    bool isReserved() const
    {
        for (const char* w : {"AND", "OR", "NOT", "IN", "IS", "NULL"})
            if (isKeyword(w))
                return true;
        return false;
    }

    std::vector<Token> tokens_;
    size_t at_ = 0;
    int depth_ = 0;
    const std::vector<FilterExpression::FieldInfo>& fields_;
};

Val valueOf(const Operand& o, const std::vector<Cell>& row)
{
    Val v;
    switch (o.kind) {
    case Operand::Kind::Text:
        v.isText = true;
        v.text = o.text;
        return v;
    case Operand::Kind::Number:
        v.isLiteralNumber = true;
        v.number = o.number;
        v.text = o.text;
        return v;
    case Operand::Kind::Field:
        break;
    }
    const Cell& c = row[size_t(o.field)];
    if (cellIsNull(c)) {
        v.null = true;
        return v;
    }
    if (o.fieldIsText) {
        v.isText = true;
        v.byValue = o.fieldByValue;
        v.text = std::holds_alternative<QString>(c) ? std::get<QString>(c) : QString();
        return v;
    }
    v.number = std::holds_alternative<std::int64_t>(c) ? double(std::get<std::int64_t>(c))
               : std::holds_alternative<double>(c)     ? std::get<double>(c)
                                                       : 0.0;
    return v;
}

// -1, 0, 1; or nothing when the two cannot be compared (a null, or a text
// that is no number set against a number field).
std::optional<int> compare(const Val& a, const Val& b)
{
    if (a.null || b.null)
        return std::nullopt;
    auto cmpNum = [](double x, double y) { return x < y ? -1 : (x > y ? 1 : 0); };
    // A code of a numeric column against a whole number, quoted or not.
    if ((a.byValue || b.byValue) && (a.isText || a.isLiteralNumber) && (b.isText || b.isLiteralNumber)) {
        const auto x = codigoInteiro(a.text), y = codigoInteiro(b.text);
        if (x && y)
            return *x < *y ? -1 : (*x > *y ? 1 : 0);
    }
    if (a.isText && b.isText)
        return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
    if (!a.isText && !b.isText)
        return cmpNum(a.number, b.number);
    const Val& text = a.isText ? a : b;
    const Val& num = a.isText ? b : a;
    const int sign = a.isText ? 1 : -1;
    if (num.isLiteralNumber) {
        int c = text.text.compare(num.text);
        return sign * (c < 0 ? -1 : (c > 0 ? 1 : 0));
    }
    bool ok = false;
    double x = text.text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return sign * cmpNum(x, num.number);
}

bool eval(const Node& n, const std::vector<Cell>& row)
{
    switch (n.kind) {
    case Node::Kind::Or:
        for (const auto& c : n.children)
            if (eval(*c, row))
                return true;
        return false;
    case Node::Kind::And:
        for (const auto& c : n.children)
            if (!eval(*c, row))
                return false;
        return true;
    case Node::Kind::Not:
        return !eval(*n.children[0], row);
    case Node::Kind::IsNull: {
        Val v = valueOf(n.lhs, row);
        bool isNull = v.null;
        return n.negated ? !isNull : isNull;
    }
    case Node::Kind::In: {
        Val v = valueOf(n.lhs, row);
        if (v.null)
            return false;
        bool found = false;
        for (const Operand& item : n.list) {
            auto c = compare(v, valueOf(item, row));
            if (c && *c == 0) {
                found = true;
                break;
            }
        }
        return n.negated ? !found : found;
    }
    case Node::Kind::Compare: {
        auto c = compare(valueOf(n.lhs, row), valueOf(n.rhs, row));
        if (!c)
            return false;
        switch (n.op) {
        case CmpOp::Eq:
            return *c == 0;
        case CmpOp::Ne:
            return *c != 0;
        case CmpOp::Lt:
            return *c < 0;
        case CmpOp::Le:
            return *c <= 0;
        case CmpOp::Gt:
            return *c > 0;
        case CmpOp::Ge:
            return *c >= 0;
        }
    }
    }
    return false;
}

} // namespace

FilterExpression::FilterExpression(const QString& text, const std::vector<FieldInfo>& fields)
    : root_(Parser(text, fields).parse())
{
}

FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

bool FilterExpression::matches(const std::vector<Cell>& row) const
{
    return eval(*root_, row);
}
