#include "tray/app/problem_list.h"

std::vector<std::wstring>& GetProblemList() {
  static std::vector<std::wstring> problems;
  return problems;
}
