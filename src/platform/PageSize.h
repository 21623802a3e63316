// Paper for printed documents: the two sizes drainage studies are printed on.
#pragma once

namespace rh {

enum class PageSize { A4, Letter };

// A page's size in points (1/72 in), portrait.
struct PagePoints {
  double width = 0;
  double height = 0;
};

// Letter is 8.5 x 11 in; A4 is 210 x 297 mm.
inline PagePoints PointsOf(PageSize size) {
  return size == PageSize::Letter ? PagePoints{612.0, 792.0}
                                  : PagePoints{210.0 / 25.4 * 72.0, 297.0 / 25.4 * 72.0};
}

}  // namespace rh
