// The drag payload between panes and views, and the routing of drops.
#include "CInterfaceDropTarget.h"
#include "DragPayload.h"
#include "QStringPrinter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A drop target window that records what reaches it.
class RecordingWindow : public QWidget, public CDropTargetWindow
{
public:
    explicit RecordingWindow(Kind kind)
        : m_kind(kind)
    {
        // Drag events reach only windows on screen.
        show();
    }
    Kind DropTargetKind() const override { return m_kind; }
    Qt::DropAction DragOver(const QMimeData *, Qt::KeyboardModifiers, const QPoint &point) override
    {
        overs.push_back(point);
        return answer;
    }
    void DropItem(const DragInfo &info, const QPoint &point) override
    {
        dropped.push_back(info);
        points.push_back(point);
    }
    void DragLeave() override { ++leaves; }
    // What the window's own handling saw (the target let it through).
    void dropEvent(QDropEvent *) override { ++ownDrops; }

    Kind m_kind;
    Qt::DropAction answer = Qt::CopyAction;
    std::vector<QPoint> overs;
    std::vector<DragInfo> dropped;
    std::vector<QPoint> points;
    int leaves = 0;
    int ownDrops = 0;
};

// A drag entering the window (moves and drops reach only a window that
// accepted the drag's entry); whether it was accepted.
bool enter(QWidget &window, const QMimeData *data)
{
    QDragEnterEvent entry(QPoint(0, 0), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &entry);
    return entry.isAccepted();
}

} // namespace

TEST(DragPayloadTest, WrittenPayloadsReadBack)
{
    const DragInfo items[] = {
        {12, DragKind::ProjectActivity, 34, false}, {7, DragKind::Favorite, -2, true},
        {-1, DragKind::Recent, -2, false},           {3, DragKind::Project, -2, false},
        {40, DragKind::ForecastProject, -2, true},   {5, DragKind::Activity, -2, false},
    };
    for (const DragInfo &item : items) {
        std::unique_ptr<QMimeData> data(MakeDragPayload(item));
        EXPECT_EQ(data->text(), DragPayloadText(item));
        DragInfo read;
        ASSERT_TRUE(ReadDragPayload(data.get(), read)) << DragPayloadText(item).toStdString();
        EXPECT_EQ(read.id, item.id);
        EXPECT_EQ(read.kind, item.kind);
        EXPECT_EQ(read.secondId, item.secondId);
        EXPECT_EQ(read.openDialog, item.openDialog);
    }
    EXPECT_EQ(DragPayloadText({12, DragKind::ProjectActivity, 34, false}), QStringLiteral("12\nProjAct\n34\nAuto\n"));
}

TEST(DragPayloadTest, OnlyWellFormedPayloadsRead)
{
    const struct
    {
        const char *text;
        bool read;
        int id;
        DragKind kind;
        int secondId;
        bool dialog;
    } cases[] = {
        {"12\nProjAct\n34\nAuto\n", true, 12, DragKind::ProjectActivity, 34, false},
        {"8\nfav\nDialog\n", true, 8, DragKind::Unknown, -2, true}, // kind words are case-sensitive
        {"8\nFav\nAuto", false, -1, DragKind::Unknown, -2, false},  // last line not ended
        {"x\nFav\nAuto\n", false, -1, DragKind::Unknown, -2, false},
        {"12abc\nFav\nAuto\n", false, -1, DragKind::Unknown, -2, false},
        {"\nFav\nAuto\n", false, -1, DragKind::Unknown, -2, false},
        {"12\nProjAct\nAuto\n", false, -1, DragKind::Unknown, -2, false}, // second id missing
        {"12\nProjAct\n34\n", false, -1, DragKind::Unknown, -2, false},
        {"12\nFav\n", false, -1, DragKind::Unknown, -2, false},
        {"", false, -1, DragKind::Unknown, -2, false},
    };
    for (const auto &c : cases) {
        DragInfo info;
        info.id = 99;
        EXPECT_EQ(ReadDragPayloadText(QString::fromLatin1(c.text), info), c.read) << c.text;
        EXPECT_EQ(info.id, c.id) << c.text;
        EXPECT_EQ(info.kind, c.kind) << c.text;
        EXPECT_EQ(info.secondId, c.secondId) << c.text;
        EXPECT_EQ(info.openDialog, c.dialog) << c.text;
    }
    // Plain text from another program is no payload.
    QMimeData foreign;
    foreign.setText(QStringLiteral("12\nProj\nAuto\n"));
    DragInfo info;
    EXPECT_FALSE(ReadDragPayload(&foreign, info));
    EXPECT_FALSE(ReadDragPayload(nullptr, info));
}

TEST(DragPayloadTest, DropsReachTheWindowsThatTakeTheirKind)
{
    using Kind = CDropTargetWindow::Kind;
    const struct
    {
        Kind window;
        DragKind item;
        bool taken;
    } cases[] = {
        {Kind::WeekView, DragKind::Favorite, true},        {Kind::WeekView, DragKind::ProjectActivity, true},
        {Kind::ProjectPane, DragKind::Project, true},      {Kind::ProjectPane, DragKind::ForecastProject, false},
        {Kind::ProjectPane, DragKind::Favorite, false},    {Kind::ForecastView, DragKind::ForecastProject, true},
        {Kind::ForecastView, DragKind::ProjectActivity, true}, {Kind::ForecastView, DragKind::Project, false},
        {Kind::Other, DragKind::Project, false},           {Kind::WeekView, DragKind::Unknown, false},
    };
    for (const auto &c : cases) {
        RecordingWindow window(c.window);
        new CInterfaceDropTarget(&window, &window);
        std::unique_ptr<QMimeData> data(MakeDragPayload({21, c.item, 22, false}));
        EXPECT_EQ(enter(window, data.get()), c.window != Kind::Other);
        QDropEvent drop(QPointF(5, 6), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
        EXPECT_EQ(drop.isAccepted(), c.window != Kind::Other);
        ASSERT_EQ(window.dropped.size(), c.taken ? 1u : 0u) << int(c.window) << "/" << int(c.item);
        EXPECT_EQ(window.ownDrops, 0);
        if (c.taken) {
            EXPECT_EQ(window.dropped[0].id, 21);
            EXPECT_EQ(window.points[0], QPoint(5, 6));
        }
    }
}

TEST(DragPayloadTest, DragOverAsksTheWindowAndForeignDropsFallThrough)
{
    RecordingWindow window(CDropTargetWindow::Kind::ProjectPane);
    new CInterfaceDropTarget(&window, &window);
    std::unique_ptr<QMimeData> data(MakeDragPayload({3, DragKind::Project, -2, false}));

    ASSERT_TRUE(enter(window, data.get()));
    window.overs.clear();
    QDragMoveEvent over(QPoint(10, 11), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    window.answer = Qt::MoveAction;
    QCoreApplication::sendEvent(&window, &over);
    EXPECT_TRUE(over.isAccepted());
    EXPECT_EQ(over.dropAction(), Qt::MoveAction);
    window.answer = Qt::IgnoreAction;
    QDragMoveEvent refused(QPoint(1, 1), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_EQ(window.overs, (std::vector<QPoint>{QPoint(10, 11), QPoint(1, 1)}));

    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&window, &leave);
    EXPECT_EQ(window.leaves, 1);

    // Data that is not the program's payload goes to the window's own drop.
    QMimeData foreign;
    foreign.setText(QStringLiteral("hello"));
    window.answer = Qt::CopyAction;
    ASSERT_TRUE(enter(window, &foreign));
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.ownDrops, 1);
    EXPECT_TRUE(window.dropped.empty());

    // A window of no known kind refuses every drag.
    RecordingWindow other(CDropTargetWindow::Kind::Other);
    new CInterfaceDropTarget(&other, &other);
    EXPECT_FALSE(enter(other, data.get()));
    EXPECT_TRUE(other.overs.empty());
}
