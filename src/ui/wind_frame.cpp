#include "ui/wind_frame.h"

#include "ui/form_label.h"
#include "ui/line_shape.h"

namespace quorvel {

namespace {
struct OptionPlace {
  int left, top;
};
// Option1..Option8 on the 3 x 3 grid with an empty centre, north up: NW, W, SW, S, SE, E, NE, N.
constexpr std::array<const char*, 8> option_tips{
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "северо-запад"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "запад"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "юго-запад"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "юг"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "юго-восток"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "восток"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "северо-восток"),
    QT_TRANSLATE_NOOP("quorvel::WindFrame", "север")};
constexpr std::array<OptionPlace, 8> option_places{{
    {1200, 720},
    {1200, 1080},
    {1200, 1440},
    {1560, 1440},
    {1920, 1440},
    {1920, 1080},
    {1920, 720},
    {1560, 720},
}};
}  // namespace

WindFrame::WindFrame(const TwipScale& scale, QWidget* parent)
    : QGroupBox(tr("Преобладающий ветер"), parent),
      buttons_(new QButtonGroup(this)),
      force_field_(new QLineEdit(QStringLiteral("0"), this)) {
  setObjectName(QStringLiteral("Frame3"));
  make_label(this, "Label27", tr("Направление трансекты"), scale.rect(120, 240, 1095, 375));
  make_label(this, "Label29", tr("Направление ветра"), scale.rect(1200, 240, 1095, 375));
  make_label(this, "Label28", tr("Сила ветра (1-5)"), scale.rect(2400, 240, 495, 615));

  // The fixed arrow pointing up the window, like the transect in the plot window.
  (new LineShape(scale.point(600, 1560), scale.point(600, 840), this))->setObjectName("Line1");
  (new LineShape(scale.point(480, 960), scale.point(600, 840), this))->setObjectName("Line2");
  (new LineShape(scale.point(720, 960), scale.point(600, 840), this))->setObjectName("Line3");

  buttons_->setExclusive(true);
  for (int number = 1; number <= 8; ++number) {
    const OptionPlace place = option_places[number - 1];
    auto* option = new QRadioButton(this);
    option->setObjectName(QStringLiteral("Option%1").arg(number));
    option->setGeometry(scale.rect(place.left, place.top, 255, 195));
    option->setToolTip(tr(option_tips[number - 1]));
    buttons_->addButton(option, number);
    options_[number - 1] = option;
  }

  force_field_->setObjectName(QStringLiteral("Text30"));
  force_field_->setGeometry(scale.rect(2400, 960, 255, 285));
}

WindButton WindFrame::choice() const {
  const int id = buttons_->checkedId();
  return id >= 1 && id <= 8 ? static_cast<WindButton>(id) : WindButton::none;
}

}  // namespace quorvel
