// The remark choosers' rules, written again from their description so that
// the tests' expectations do not come from the choosers themselves.
#pragma once

// 0..49 are the remarks 200..249, anything else the credit, 104.
inline unsigned ModelClickRemark(unsigned n) { return n < 50 ? 200 + n : 104; }
// 0..5 are the three notices 700..702, two numbers each; then as a click.
inline unsigned ModelIdleRemark(unsigned n) { return n < 6 ? 700 + n / 2 : ModelClickRemark(n - 6); }
