// Page commands: sums are taken in 32 bits, and a target outside 1..32767 (reachable only with
// negative or huge steps typed into the options) leaves the page as it is.
#include "viewer/navigation.h"

namespace viewer {

namespace {
bool GoTo(Module1& m, std::int32_t target) {
  if (target < 1 || target > 32767) return false;
  m.curpage = static_cast<std::int16_t>(target);
  return true;
}
}  // namespace

bool NextPage(Module1& m) {
  if (m.curpage >= m.book.allpage) return false;
  return GoTo(m, m.curpage + 1);
}

bool PreviousPage(Module1& m) {
  if (m.curpage <= 1) return false;
  return GoTo(m, m.curpage - 1);
}

bool ForwardTab(Module1& m) {
  const std::int32_t target = std::int32_t{m.curpage} + m.options.gotabpage;
  if (target >= m.book.allpage) return false;
  return GoTo(m, target);
}

bool BackTab(Module1& m) {
  if (m.curpage <= m.options.backtabpage) return false;
  return GoTo(m, std::int32_t{m.curpage} - m.options.backtabpage);
}

bool FirstPage(Module1& m) {
  m.curpage = 1;
  return true;
}

bool LastPage(Module1& m) {
  m.curpage = m.book.allpage;
  return true;
}

std::int32_t AutoViewInterval(std::int16_t autoview) {
  return autoview > 0 ? std::int32_t{autoview} * 100 : 0;
}

bool AutoViewTick(Module1& m) {
  m.autoticks = static_cast<std::int16_t>(m.autoticks + 1);
  if (m.autoticks < 10) return false;
  m.autoticks = 0;
  if (m.curpage < m.book.allpage) m.curpage = static_cast<std::int16_t>(m.curpage + 1);
  else m.curpage = 1;
  return true;
}

}  // namespace viewer
