#include "unicode/TntStdActns.h"

namespace {
const TClass tntHintActionClass = DescribeClass<TTntHintAction, THintAction>();
} // namespace
