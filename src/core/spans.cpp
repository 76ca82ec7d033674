#include "core/spans.h"

Spans make_spans(int32_t rows)
{
    Spans spans;
    spans.xp.assign(static_cast<size_t>(rows) * Spans::per_row, 0);
    spans.xpcnt.assign(static_cast<size_t>(rows), 0);
    spans.rows = rows;
    return spans;
}
