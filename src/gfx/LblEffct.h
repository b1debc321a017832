// A text label with relief: the caption is drawn three times, a shadow copy and a
// highlight copy offset in chosen directions and the face on top. It can turn its
// text by an angle and behave like a push button.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPoint>

#include <array>

namespace spades {

enum class TEffectDirection {
    edNone, edUp, edUpRight, edRight, edDownRight, edDown, edDownLeft, edLeft, edUpLeft
};
enum class TEffectStyle { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum class TColourScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };

// The unit step of a direction, y growing downward.
QPoint DirectionStep(TEffectDirection direction);

struct TSchemeColours {
    QColor Highlight;
    QColor Shadow;
    QColor Text;
    bool operator==(const TSchemeColours&) const = default;
};

// Where the paint puts its three copies, relative to the unshifted text.
struct TEffectOffsets {
    QPoint Shadow;
    QPoint Highlight;
    QPoint Face;
    bool operator==(const TEffectOffsets&) const = default;
};

class TLabelEffect : public QLabel {
    Q_OBJECT

public:
    static constexpr int MaxDepth = 10;
    static constexpr int MaxAngle = 360;

    explicit TLabelEffect(QWidget* owner = nullptr);

    int DepthHighlight() const { return FDepthHighlight; }
    int DepthShadow() const { return FDepthShadow; }
    TEffectDirection DirectionHighlight() const { return FDirectionHighlight; }
    TEffectDirection DirectionShadow() const { return FDirectionShadow; }
    // Depths are kept within 0..MaxDepth.
    void SetDepthHighlight(int depth);
    void SetDepthShadow(int depth);
    void SetDirectionHighlight(TEffectDirection direction);
    void SetDirectionShadow(TEffectDirection direction);

    QColor ColourHighlight() const { return FColourHighlight; }
    QColor ColourShadow() const { return FColourShadow; }
    void SetColourHighlight(const QColor& colour);
    void SetColourShadow(const QColor& colour);

    TEffectStyle EffectStyle() const { return FEffectStyle; }
    void SetEffectStyle(TEffectStyle style);
    TColourScheme ColourScheme() const { return FColourScheme; }
    void SetColourScheme(TColourScheme scheme);
    // The label's own copy of a scheme's colours (the custom entry changes).
    TSchemeColours SchemeColours(TColourScheme scheme) const;

    bool AsButton() const { return FAsButton; }
    void SetAsButton(bool asButton);

    // Degrees counter-clockwise, kept within 0..MaxAngle.
    int Angle() const { return FAngle; }
    void SetAngle(int angle);
    double AngleCos() const { return FCos; }
    double AngleSin() const { return FSin; }

    // The text colour (the font's own colour).
    QColor FontColour() const { return FFontColour; }
    void SetFontColour(const QColor& colour);

    // A transparent label paints no background; otherwise it fills with Color().
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    QColor Color() const { return FColor; }
    void SetColor(const QColor& colour);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

    // What the paint computes: the compensation that keeps every copy inside the
    // top and left edges, the three offsets, and for a turned caption the corner
    // its text starts at and the centre it turns about.
    int Compensation() const;
    TEffectOffsets Offsets() const;
    QPoint RotatedOrigin() const;
    int RotationCentre() const;

signals:
    void clicked();
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseMove(Qt::MouseButtons buttons, QPoint position);
    void mouseUp(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TRotation {
        int W2 = 0;
        QPoint Origin;
        int TextWidth = 0;
        int TextHeight = 0;
    };
    TRotation Rotation() const;
    void PaintBackground(QPainter& painter, const TRotation& rotation);
    void PaintLabel(QPainter& painter);

    // Everything the picture depends on: text of a large size is drawn as paths, so
    // the picture is made once and copied until one of these changes.
    struct TPictureKey {
        QString Text;
        QFont Font;
        QSize Size;
        qreal Ratio = 0;
        std::array<QColor, 4> Colours;
        TEffectOffsets Offsets;
        int Alignment = 0;
        int Angle = 0;
        bool Transparent = true;
        bool operator==(const TPictureKey&) const = default;
    };
    TPictureKey FPictureKey;
    QPixmap FPicture;
    bool Inside(QPoint position) const;

    std::array<TSchemeColours, 6> FSchemes;
    int FDepthHighlight = 1;
    int FDepthShadow = 1;
    TEffectDirection FDirectionHighlight = TEffectDirection::edUpLeft;
    TEffectDirection FDirectionShadow = TEffectDirection::edDownRight;
    QColor FColourHighlight;
    QColor FColourShadow;
    QColor FFontColour;
    QColor FColor;
    TEffectStyle FEffectStyle = TEffectStyle::esRaised;
    TColourScheme FColourScheme = TColourScheme::csWindows;
    bool FAsButton = false;
    int FAngle = 0;
    double FCos = 1.0;
    double FSin = 0.0;
    bool FTransparent = true;
    bool FStyleGuard = false;
    bool FSchemeGuard = false;
    bool FPressed = false;
};

}  // namespace spades
