#include "app/PaneCaptionLayout.h"

#include <algorithm>
#include <vector>

namespace {

constexpr wchar_t kEllipsis[] = L"...";

int Extent(HDC dc, const std::wstring& text) {
  SIZE size{};
  if (!text.empty()) ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

std::wstring ShortenToWidth(HDC dc, const std::wstring& title, int room) {
  if (Extent(dc, title) <= room) return title;
  const int dots = Extent(dc, kEllipsis);
  if (dots > room) return {};
  // The most characters whose extent leaves room for the dots.
  int fit = 0;
  std::vector<int> ends(title.size());
  SIZE size{};
  ::GetTextExtentExPointW(dc, title.c_str(), static_cast<int>(title.size()), room - dots, &fit, ends.data(), &size);
  size_t keep = static_cast<size_t>(std::clamp(fit, 0, static_cast<int>(title.size())));
  while (keep > 0 && title[keep - 1] == L' ') --keep;  // "Installed..." rather than "Installed ..."
  return title.substr(0, keep) + kEllipsis;
}

PaneCaptionLayout LayOutPaneCaption(HDC dc, const std::wstring& caption, size_t head, size_t tail, int left,
                                    int right, int iconWidth, int gap, int iconCentreLeft) {
  head = std::min(head, caption.size());
  tail = std::min(tail, caption.size() - head);
  const std::wstring front = caption.substr(0, head), back = caption.substr(caption.size() - tail);
  const std::wstring title = caption.substr(head, caption.size() - head - tail);
  auto fit = [&](int room) {
    if (Extent(dc, caption) <= room) return caption;
    const std::wstring shortened = ShortenToWidth(dc, title, room - Extent(dc, front) - Extent(dc, back));
    // With no title left the counts start the caption: without the space that parted them.
    if (shortened.empty() && front.empty()) return back.substr(std::min(back.find_first_not_of(L' '), back.size()));
    return front + shortened + back;
  };
  PaneCaptionLayout layout;
  const int whole = Extent(dc, caption);
  if (iconWidth <= 0) {
    layout.text = fit(right - left);
  } else if (left + whole + gap <= iconCentreLeft && iconCentreLeft + iconWidth <= right) {
    layout.text = caption;
    layout.iconLeft = iconCentreLeft;
  } else {
    layout.text = fit(right - left - gap - iconWidth);
    const int iconLeft = left + Extent(dc, layout.text) + gap;
    if (iconLeft + iconWidth <= right) layout.iconLeft = iconLeft;
  }
  layout.textWidth = Extent(dc, layout.text);
  return layout;
}
