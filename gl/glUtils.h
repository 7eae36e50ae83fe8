// Utility routines of the gl widget set: small helpers the widgets and their
// users share, starting with an arithmetic expression evaluator.
#pragma once

#include "platform/core/Types.h"

// Evaluates + - * / with parentheses, unary minus and decimal numbers ("." or
// "," as separator) in single precision. Characters other than ( ) * + , - . /
// and digits are skipped wherever they stand, and text after the expression
// is ignored. Malformed input raises Exception with a fixed English message.
float CalcMathString(const AnsiString& expression);
