#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zrn::lang {

//! Token codes of the scanner, which are also the operation codes of the tree's nodes.
//! Function codes (11 to 72, 196 to 198) come from the function table.
enum CalcCode : int {
    ccEnd = 0,            //!< end of the formula (or a character that starts no token)
    ccOpen = 1,           //!< (
    ccClose = 2,          //!< )
    ccPlus = 3,           //!< +
    ccMinus = 4,          //!< -
    ccMultiply = 5,       //!< *
    ccDivide = 6,         //!< /
    ccNumber = 7,         //!< number literal
    ccText = 8,           //!< text literal
    ccName = 9,           //!< variable name
    ccNegate = 10,        //!< unary minus (node only)
    ccPower = 31,         //!< ^
    ccIntDiv = 200,       //!< div
    ccMod = 201,          //!< mod
    ccConcat = 202,       //!< | or ||
    ccAnd = 210,          //!< and
    ccOr = 211,           //!< or
    ccEqual = 220,        //!< =
    ccLess = 221,         //!< <
    ccLessEqual = 222,    //!< <=
    ccGreater = 223,      //!< >
    ccGreaterEqual = 224, //!< >=
    ccNotEqual = 225,     //!< <>
    ccLike = 230,         //!< like
    ccWildcard = 231,     //!< wildcard
    ccComma = 250,        //!< , (argument separator)
    ccSequence = 251,     //!< ; (sequence)
};

//! Type of a value inside the evaluator; the result type is Number or Text.
enum class CalcType : int { None = 0, Number = 1, Text = 2 };

struct CalcLimits;

//! TCalcul evaluates a formula written as text, with named variables, and returns the
//! result as text. Every value inside is a text; arithmetic turns texts into numbers and
//! back at every step, always with "." as decimal point whatever the program's number
//! format. Variables are lines name=value; a value between double quotes is a text.
//!
//! Any formula text is safe to evaluate: nesting, nested evaluations, the size of texts and
//! the total work of one evaluation are bounded. Going past a bound fails with
//! "invalid formule" like any other bad formula; an eval( or assignment nested too deep fails
//! on its own and gives an empty text, as a failed inner evaluation does.
class TCalcul {
public:
    TCalcul();
    ~TCalcul();
    TCalcul(const TCalcul&) = delete;
    TCalcul& operator=(const TCalcul&) = delete;

    //! The formula to evaluate; "0" after creation.
    const std::string& Formula() const { return formula_; }
    //! Sets the formula to evaluate.
    void SetFormula(std::string formula) { formula_ = std::move(formula); }

    //! The variables, one line name=value each.
    const std::vector<std::string>& VariableLines() const { return variables_; }
    //! Replaces the variables by these lines.
    void SetVariableLines(std::vector<std::string> lines) { variables_ = std::move(lines); }
    //! The variables as a text, every line followed by a line break.
    std::string VariablesText() const;
    //! Replaces the variables by the lines of a text (line breaks "\n" or "\r\n").
    void SetVariablesText(std::string_view text);
    //! The raw value of the first line named name (case ignored); empty when there is none.
    std::string Value(std::string_view name) const;
    //! Sets the line of that name to name=value, adding it when there is none.
    void SetValue(std::string_view name, std::string_view value);

    //! Evaluates Formula with Variables. On success the value of the formula (a text result
    //! enclosed in double quotes) and ErrorFlag clear; on failure ErrorFlag and
    //! ErrorMessage set and the previous result returned unchanged.
    std::string Evaluate();

    //! Set by the first error of the last evaluation.
    bool ErrorFlag() const { return errorFlag_; }
    //! The message of that first error.
    const std::string& ErrorMessage() const { return errorMessage_; }
    //! Type of the last result: Number or Text.
    CalcType ResultType() const { return resultType_; }
    //! The argument stack of multi-argument functions (empty between evaluations).
    const std::vector<std::string>& ParamStack() const { return paramStack_; }

private:
    struct Node {
        int code = ccEnd;
        std::string text;
        Node* left = nullptr;
        Node* right = nullptr;
        CalcType type = CalcType::None;
    };

    // A nested evaluator for eval( and assignments shares the limits of its parent.
    explicit TCalcul(CalcLimits& shared);

    // Evaluation steps.
    std::string PrepareArguments(const std::string& formula) const;
    Node* Parse();
    void SetDateVariables();
    void NextToken();
    void ReadName();
    void ReadAssignment(const std::string& name);
    void ReadNumber();
    void ReadText();
    Node* ParseExpression();
    Node* ParseTerm();
    Node* ParseFactor();
    Node* NewNode(int code, std::string text = {}, Node* left = nullptr, Node* right = nullptr);
    void FreeTree();

    // Node evaluation.
    std::string EvalNode(Node* node);
    std::string EvalChain(Node* node);
    bool EvalRightFirst(Node* node, const std::string& right, std::string& value);
    std::string EvalLeftFirst(Node* node, const std::string& left);
    std::string EvalVariable(Node* node);
    std::string EvalAssignment(Node* node, const std::string& name);
    std::string EvalCompare(int code, const std::string& left, const std::string& right);
    std::string EvalMatch(int code, const std::string& left, const std::string& right);
    std::string EvalFunction(Node* node);
    std::string EvalSingle(Node* node, const std::string& arg);
    std::string EvalMulti(Node* node);
    std::string EvalWithArgs(int code, const std::vector<std::string>& args);
    std::string Replace(const std::vector<std::string>& args);
    std::string EvalNested(const std::string& formula, CalcType& type);
    std::string PowerOf(double base, double exponent);

    // Helpers.
    double ToNumber(const std::string& text);
    std::int64_t ToInteger(const std::string& text);
    std::string FormatNumber(double x);
    void SetError(const std::string& message);
    bool Charge(std::size_t units);
    bool CheckLength(std::size_t length);
    std::ptrdiff_t FindVariable(std::string_view name);
    std::string ReadValue(const std::string& line, CalcType& type) const;
    void PutVariable(std::string_view name, const std::string& value);
    void DropPendingAssignments();

    std::string formula_ = "0";
    std::vector<std::string> variables_;
    bool errorFlag_ = false;
    std::string errorMessage_;
    CalcType resultType_ = CalcType::Number;
    std::string result_;
    std::vector<std::string> paramStack_;

    // Parse state: the prepared formula, the scan position (0-based here), the current and
    // the previous token, the current token's text and the parenthesis depth.
    std::string text_;
    std::size_t pos_ = 0;
    int token_ = ccEnd;
    int prevToken_ = ccEnd;
    std::string tokenText_;
    int depth_ = 0;

    // The registry of the nodes of the parsed formula; freed before each parse.
    std::deque<Node> nodes_;

    std::unique_ptr<CalcLimits> ownLimits_;
    CalcLimits* limits_ = nullptr;
};

} // namespace zrn::lang
