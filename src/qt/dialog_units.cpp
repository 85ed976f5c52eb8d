#include "qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

namespace velmora::qt {

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
  return static_cast<int>(q);
}
}  // namespace

int DialogMetrics::toPixelsX(int units) const { return mulDiv(units, baseX, 4); }
int DialogMetrics::toPixelsY(int units) const { return mulDiv(units, baseY, 8); }

QRect DialogMetrics::toPixels(int x, int y, int w, int h) const {
  const int left = toPixelsX(x);
  const int top = toPixelsY(y);
  // Convert the far edges too, so that neighbouring controls meet exactly.
  return {left, top, toPixelsX(x + w) - left, toPixelsY(y + h) - top};
}

QSize DialogMetrics::dialogSize(const res::DialogDef& def) const {
  return {toPixelsX(def.w), toPixelsY(def.h)};
}

QFont dialogFont(const res::DialogDef& def) {
  const QString family =
      QString::fromLatin1(def.fontFamily.data(), static_cast<qsizetype>(def.fontFamily.size()));
  QFont font(family);
  font.setPointSize(def.fontPoints);
  if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0) return font;
  QFont fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  fallback.setPointSize(def.fontPoints);
  return fallback;
}

DialogMetrics dialogMetrics(const res::DialogDef& def) {
  DialogMetrics m;
  m.font = dialogFont(def);
  const QFontMetrics fm(m.font);
  const int letters =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m.baseX = (letters / 26 + 1) / 2;
  m.baseY = fm.height();
  return m;
}

}  // namespace velmora::qt
