#include "LblEffct.h"

#include "DevicePixels.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace spades {

namespace {

constexpr double DegreesToRadians = 0.017453292519943295;

// The colour schemes in their order; each label starts from its own copy.
constexpr std::array<TSchemeColours, 6> SchemeTable = {{
    {QColor(0xff, 0xff, 0xff), QColor(0x00, 0x00, 0x00), QColor(0x80, 0x80, 0x80)},  // custom
    {QColor(0xff, 0xff, 0xff), QColor(0x80, 0x80, 0x80), QColor(0x00, 0x00, 0x00)},  // text
    {QColor(0xff, 0xff, 0xff), QColor(0x00, 0x00, 0x00), QColor(0x80, 0x80, 0x80)},  // windows
    {QColor(0xff, 0xff, 0xff), QColor(0x00, 0x00, 0x00), QColor(0xc0, 0xc0, 0xc0)},  // embossed
    {QColor(0xff, 0xff, 0x00), QColor(0x00, 0x00, 0x00), QColor(0x80, 0x80, 0x00)},  // gold
    {QColor(0x00, 0xff, 0xff), QColor(0x00, 0x00, 0x80), QColor(0x00, 0x80, 0x80)},  // steel
}};

size_t Index(TColourScheme scheme) { return static_cast<size_t>(scheme); }

// Raises a guard for the lifetime of a preset and puts back what it found.
class TGuard {
public:
    explicit TGuard(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
    ~TGuard() { FFlag = FWas; }
    TGuard(const TGuard&) = delete;
    TGuard& operator=(const TGuard&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

int Truncated(double value) { return static_cast<int>(std::trunc(value)); }

}  // namespace

QPoint DirectionStep(TEffectDirection direction)
{
    switch (direction) {
    case TEffectDirection::edNone: return {0, 0};
    case TEffectDirection::edUp: return {0, -1};
    case TEffectDirection::edUpRight: return {1, -1};
    case TEffectDirection::edRight: return {1, 0};
    case TEffectDirection::edDownRight: return {1, 1};
    case TEffectDirection::edDown: return {0, 1};
    case TEffectDirection::edDownLeft: return {-1, 1};
    case TEffectDirection::edLeft: return {-1, 0};
    case TEffectDirection::edUpLeft: return {-1, -1};
    }
    return {0, 0};
}

TLabelEffect::TLabelEffect(QWidget* owner)
    : QLabel(owner),
      FSchemes(SchemeTable),
      FColourHighlight(SchemeTable[Index(TColourScheme::csWindows)].Highlight),
      FColourShadow(SchemeTable[Index(TColourScheme::csWindows)].Shadow),
      FFontColour(SchemeTable[Index(TColourScheme::csWindows)].Text),
      FColor(palette().color(QPalette::Window))
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resize(142, 33);
    QFont face(QStringLiteral("Times New Roman"));
    face.setPointSize(20);
    setFont(face);
}

void TLabelEffect::SetDepthHighlight(int depth)
{
    depth = std::clamp(depth, 0, MaxDepth);
    if (depth == FDepthHighlight)
        return;
    FDepthHighlight = depth;
    if (!FStyleGuard)
        SetEffectStyle(TEffectStyle::esCustom);
    update();
}

void TLabelEffect::SetDepthShadow(int depth)
{
    depth = std::clamp(depth, 0, MaxDepth);
    if (depth == FDepthShadow)
        return;
    FDepthShadow = depth;
    if (!FStyleGuard)
        SetEffectStyle(TEffectStyle::esCustom);
    update();
}

void TLabelEffect::SetDirectionHighlight(TEffectDirection direction)
{
    if (direction == FDirectionHighlight)
        return;
    FDirectionHighlight = direction;
    if (!FStyleGuard)
        SetEffectStyle(TEffectStyle::esCustom);
    update();
}

void TLabelEffect::SetDirectionShadow(TEffectDirection direction)
{
    if (direction == FDirectionShadow)
        return;
    FDirectionShadow = direction;
    if (!FStyleGuard)
        SetEffectStyle(TEffectStyle::esCustom);
    update();
}

void TLabelEffect::SetColourHighlight(const QColor& colour)
{
    if (colour == FColourHighlight)
        return;
    FColourHighlight = colour;
    FSchemes[Index(TColourScheme::csCustom)].Highlight = colour;
    if (!FSchemeGuard && !FStyleGuard)
        SetColourScheme(TColourScheme::csCustom);
    update();
}

void TLabelEffect::SetColourShadow(const QColor& colour)
{
    if (colour == FColourShadow)
        return;
    FColourShadow = colour;
    FSchemes[Index(TColourScheme::csCustom)].Shadow = colour;
    if (!FSchemeGuard && !FStyleGuard)
        SetColourScheme(TColourScheme::csCustom);
    update();
}

void TLabelEffect::SetFontColour(const QColor& colour)
{
    if (colour == FFontColour)
        return;
    FFontColour = colour;
    update();
}

void TLabelEffect::SetTransparent(bool transparent)
{
    if (transparent == FTransparent)
        return;
    FTransparent = transparent;
    update();
}

void TLabelEffect::SetColor(const QColor& colour)
{
    if (colour == FColor)
        return;
    FColor = colour;
    update();
}

TSchemeColours TLabelEffect::SchemeColours(TColourScheme scheme) const
{
    return FSchemes[Index(scheme)];
}

void TLabelEffect::SetEffectStyle(TEffectStyle style)
{
    if (style == FEffectStyle)
        return;
    {
        // The preset goes through the ordinary setters; the guards keep them from
        // turning the style into custom or the scheme into custom on the way.
        const TGuard styleGuard(FStyleGuard);
        const TGuard schemeGuard(FSchemeGuard);
        FEffectStyle = style;
        const TSchemeColours scheme = FSchemes[Index(FColourScheme)];
        SetColourHighlight(scheme.Highlight);
        using D = TEffectDirection;
        auto apply = [this](D highlight, D shadow, int depthHighlight, int depthShadow) {
            SetDirectionHighlight(highlight);
            SetDirectionShadow(shadow);
            SetDepthHighlight(depthHighlight);
            SetDepthShadow(depthShadow);
        };
        switch (style) {
        case TEffectStyle::esNone:
            apply(D::edNone, D::edNone, 0, 0);
            SetAsButton(false);
            break;
        case TEffectStyle::esCustom:
            SetAsButton(false);
            break;
        case TEffectStyle::esRaised: apply(D::edUpLeft, D::edDownRight, 1, 1); break;
        case TEffectStyle::esSunken: apply(D::edDownRight, D::edUpLeft, 1, 1); break;
        case TEffectStyle::esShadow:
            apply(D::edNone, D::edDownRight, 0, 2);
            SetAsButton(false);
            break;
        case TEffectStyle::esFlying:
            apply(D::edDownRight, D::edDownRight, 1, 5);
            SetColourHighlight(scheme.Shadow);
            SetAsButton(false);
            break;
        }
    }
    update();
}

void TLabelEffect::SetColourScheme(TColourScheme scheme)
{
    if (scheme == FColourScheme)
        return;
    {
        const TGuard schemeGuard(FSchemeGuard);
        FColourScheme = scheme;
        const TSchemeColours row = FSchemes[Index(scheme)];
        SetColourHighlight(row.Highlight);
        SetFontColour(row.Text);
        SetColourShadow(row.Shadow);
        // Choosing custom next reproduces these colours until one is changed.
        if (scheme != TColourScheme::csCustom)
            FSchemes[Index(TColourScheme::csCustom)] = row;
    }
    update();
}

void TLabelEffect::SetAsButton(bool asButton)
{
    if (asButton == FAsButton)
        return;
    FAsButton = asButton;
    if (asButton)
        SetEffectStyle(TEffectStyle::esRaised);
}

void TLabelEffect::SetAngle(int angle)
{
    angle = std::clamp(angle, 0, MaxAngle);
    if (angle == FAngle)
        return;
    FAngle = angle;
    FCos = std::cos(angle * DegreesToRadians);
    FSin = std::sin(angle * DegreesToRadians);
    if (angle != 0)
        setAlignment((alignment() & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft);
    update();
}

int TLabelEffect::Compensation() const
{
    const QPoint h = DirectionStep(FDirectionHighlight) * FDepthHighlight;
    const QPoint s = DirectionStep(FDirectionShadow) * FDepthShadow;
    return std::min({0, h.x(), h.y(), s.x(), s.y()});
}

TEffectOffsets TLabelEffect::Offsets() const
{
    const int m = Compensation();
    const QPoint shift(-m, -m);
    return {DirectionStep(FDirectionShadow) * FDepthShadow + shift,
            DirectionStep(FDirectionHighlight) * FDepthHighlight + shift, shift};
}

// The corner the turned text starts at, so that its centre lies at (w2, w2).
TLabelEffect::TRotation TLabelEffect::Rotation() const
{
    const QFontMetrics metrics = fontMetrics();
    TRotation r;
    r.W2 = metrics.horizontalAdvance(text() + QStringLiteral("   ")) / 2;
    r.TextWidth = metrics.horizontalAdvance(text());
    r.TextHeight = metrics.height();
    r.Origin = QPoint(r.W2 - Truncated(r.TextWidth / 2.0 * FCos) -
                          Truncated(r.TextHeight / 2.0 * FSin),
                      r.W2 + Truncated(r.TextWidth / 2.0 * FSin) -
                          Truncated(r.TextHeight / 2.0 * FCos));
    return r;
}

QPoint TLabelEffect::RotatedOrigin() const
{
    return FAngle == 0 ? QPoint(0, 0) : Rotation().Origin;
}

int TLabelEffect::RotationCentre() const
{
    return Rotation().W2;
}

void TLabelEffect::PaintBackground(QPainter& painter, const TRotation& rotation)
{
    if (FTransparent)
        return;
    if (FAngle == 0) {
        painter.fillRect(rect(), FColor);
        return;
    }
    // The text's box grown by a margin, turned with the text about its centre.
    const double halfWidth = (rotation.TextWidth + 7) / 2.0;
    const double halfHeight = (rotation.TextHeight + 5) / 2.0;
    QPolygon box;
    for (const auto& [a, b] : {std::pair{-halfWidth, -halfHeight}, std::pair{halfWidth, -halfHeight},
                               std::pair{halfWidth, halfHeight}, std::pair{-halfWidth, halfHeight}})
        box << QPoint(rotation.W2 + Truncated(a * FCos) + Truncated(b * FSin),
                      rotation.W2 - Truncated(a * FSin) + Truncated(b * FCos));
    painter.setPen(Qt::NoPen);
    painter.setBrush(FColor);
    painter.drawPolygon(box);
}

void TLabelEffect::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = TDevicePixels::Ratio(painter, *this);
    TPictureKey key{text(), font(), size(), ratio, {FColourShadow, FColourHighlight, FFontColour, FColor},
                    Offsets(), static_cast<int>(alignment()), FAngle, FTransparent};
    if (FPicture.isNull() || !(key == FPictureKey)) {
        FPicture = DevicePicture(size(), ratio, [this](QPainter& draw) { PaintLabel(draw); });
        FPictureKey = std::move(key);
    }
    if (!TDevicePixels(painter).Draw(QPoint(), FPicture))
        painter.drawPixmap(0, 0, FPicture);
}

void TLabelEffect::PaintLabel(QPainter& painter)
{
    painter.setFont(font());
    const TRotation rotation = FAngle == 0 ? TRotation() : Rotation();
    PaintBackground(painter, rotation);
    painter.setBrush(Qt::NoBrush);
    const TEffectOffsets offsets = Offsets();
    const std::array<std::pair<QPoint, QColor>, 3> copies = {
        {{offsets.Shadow, FColourShadow}, {offsets.Highlight, FColourHighlight},
         {offsets.Face, FFontColour}}};
    if (FAngle == 0) {
        const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
        const int flags = static_cast<int>(horizontal ? horizontal : Qt::AlignLeft) |
                          Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs |
                          Qt::TextShowMnemonic;
        const QString caption = text().left(255);
        for (const auto& [offset, colour] : copies) {
            painter.setPen(colour);
            painter.drawText(rect().translated(offset), flags, caption);
        }
        return;
    }
    const int ascent = fontMetrics().ascent();
    for (const auto& [offset, colour] : copies) {
        painter.save();
        painter.translate(rotation.Origin + offset);
        painter.rotate(-FAngle);
        painter.setPen(colour);
        painter.drawText(0, ascent, text());
        painter.restore();
    }
}

bool TLabelEffect::Inside(QPoint p) const
{
    return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
}

void TLabelEffect::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!FAsButton)
        emit mouseDown(event->button(), p);
    else if (event->button() == Qt::LeftButton && isEnabled() &&
             FEffectStyle != TEffectStyle::esSunken)
        SetEffectStyle(TEffectStyle::esSunken);
    if (event->button() == Qt::LeftButton)
        FPressed = true;
    event->accept();
}

void TLabelEffect::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!FAsButton)
        emit mouseMove(event->buttons(), p);
    else if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
        SetEffectStyle(Inside(p) ? TEffectStyle::esSunken : TEffectStyle::esRaised);
    event->accept();
}

void TLabelEffect::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(p);
    if (event->button() == Qt::LeftButton)
        FPressed = false;
    if (!FAsButton)
        emit mouseUp(event->button(), p);
    else if (Inside(p))
        SetEffectStyle(TEffectStyle::esRaised);
    event->accept();
    if (click)
        emit clicked();
}

}  // namespace spades
