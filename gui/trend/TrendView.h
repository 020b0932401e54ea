// The Trends tab: four charts (DC, battery, AC and rectifier, the 15 cells with their spread) of
// the live samples or of a recorded data log, on one shared time axis, with alarm moments as
// markers. Drawing takes the visible window only, decimated to the pixels it has.
#pragma once

#include "core/trend/TrendStore.h"

#include <QChartView>
#include <QWidget>
#include <memory>

class MessageHub;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

class TrendChartView;

class TrendView : public QWidget {
    Q_OBJECT
public:
    TrendView(const quma::TrendStore& live, MessageHub& hub, QWidget* parent = nullptr);
    ~TrendView() override;

    // The shown time window's lengths (5 min, 1 h, 8 h, 24 h).
    static const QList<qint64>& WindowLengths();

    // A new live sample: the charts follow it when they are shown and following.
    void sampleAdded();
    // Draws the charts now (tests and the benchmark; the view itself draws when shown).
    void refresh();

    bool following() const { return m_follow; }
    void setFollowing(bool on);
    void setWindowLength(int index);
    // Zoom to [from, to) ms; following stops.
    void zoomTo(qint64 from, qint64 to);
    void resetZoom();
    qint64 from() const { return m_from; }
    qint64 to() const { return m_to; }
    // The store shown: the live one or the data log opened.
    const quma::TrendStore& shown() const { return m_file ? *m_file : m_live; }
    bool showingFile() const { return bool(m_file); }
    bool openDataLog(const QString& path);
    void showLive();
    bool exportPng(const QString& path, QString* error = nullptr);
    bool exportCsv(const QString& path);
    // What the cursor line says for a time ("12:00:05  DC voltage 54.5 V ...").
    QString valuesAt(int chart, qint64 msecs) const;
    QLineSeries* series(int s) const { return m_series[s]; }
    QList<QChartView*> chartViews() const;
    // Legend clicks show and hide a series.
    void toggleSeries(int s);
    // The plant the charts are of ("QUMA-7TN(A), site ..."), for the title of what is printed.
    void setPlant(const QString& plant) { m_plant = plant; }
    // The title of a print: the plant and the time span shown.
    QString printTitle() const;
    // The charts alone, `width` pixels wide, under a title line: no buttons, no cursor line.
    QImage renderCharts(int width, const QString& title);
    // Runs drawn for series s beyond its first (one per gap in the data).
    int gapSegments(int s) const;
    // The four charts of the last hour of a store as a PNG image, drawn off screen (reports).
    static QByteArray LastHourPng(const quma::TrendStore& store, MessageHub& hub,
                                  const QString& plant = {}, int width = 1600);

    // A series' name in the interface's language.
    static QString seriesName(int s);

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class TrendChartView;
    struct Chart;
    void buildChart(int index, const char* title, const QList<int>& left, const QList<int>& right,
                    const QString& leftTitle, const char* rightTitle);
    // Every text of the tab in the interface's language.
    void retranslate();
    void followLatest();
    // Adds the newest live sample at the end of each line (in a short line of its own); false
    // when the charts must be drawn whole instead (a gap, an axis to rescale, too many points
    // added since the last drawing).
    bool appendLatest();
    static constexpr int MaxAppended = 64;
    void cursorAt(int chart, qint64 msecs);
    void chooseAndOpen();
    void chooseAndExport(bool png);

    const quma::TrendStore& m_live;
    std::shared_ptr<quma::TrendStore> m_file;
    MessageHub& m_hub;
    std::vector<std::unique_ptr<Chart>> m_charts;
    std::array<QLineSeries*, quma::Trend::Count> m_series{};
    // Further runs of a series after a gap, drawn like it but without a legend entry.
    std::array<std::vector<QLineSeries*>, quma::Trend::Count> m_segments;
    QLineSeries* segment(int s, std::size_t k);
    // The samples added since the charts were last drawn whole, per series.
    std::array<QLineSeries*, quma::Trend::Count> m_liveTails{};
    QLineSeries* liveTail(int s);
    // A line drawn like series s, without a legend entry.
    QLineSeries* companionLine(int s);
    static void showCompanion(QLineSeries* line);
    QString m_plant;
    std::array<int, quma::Trend::Count> m_chartOf{};
    QComboBox* m_window;
    QPushButton* m_followButton;
    QPushButton* m_liveButton;
    QLabel* m_source;
    QLabel* m_cursor;
    // The line of each series that ends at the last sample drawn.
    std::array<QLineSeries*, quma::Trend::Count> m_tail{};
    qint64 m_lastDrawn = -1;
    qint64 m_maxGap = 0;
    int m_appended = 0;
    bool m_follow = true;
    bool m_dirty = true;
    bool m_applying = false;
    qint64 m_from = 0, m_to = 0;
};

// One chart: wheel zooms the time axis about the cursor, a left drag zooms to the band, a right
// drag pans; alarm moments are drawn as lines over the plot, their text shown on hover.
class TrendChartView : public QChartView {
    Q_OBJECT
public:
    TrendChartView(TrendView& view, int index, QChart* chart);

protected:
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    qint64 msecsAt(qreal x) const;

    TrendView& m_view;
    int m_index;
    bool m_panning = false;
    qreal m_panFromX = 0;
    qint64 m_panFrom = 0, m_panTo = 0;
};
