// The tab strip's accessible interface and its tabs' interfaces.
#include "client/shell/ui/TabStripAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>

#include "client/shell/PageTabCtrl.h"
#include "client/shell/ui/TabStrip.h"

namespace kvt {
namespace {

class CTabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CTabAccessible(CTabStrip* strip, int index) : m_strip(strip), m_index(index) {}

    bool isValid() const override { return m_strip != nullptr && m_index < m_strip->Tabs().PageCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip != nullptr ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_strip.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text which) const override {
        if (!isValid() || which != QAccessible::Name) return QString();
        return QString::fromStdString(m_strip->Tabs().Title(m_index));
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return QRect();
        const QRect tab = m_strip->TabRect(m_index);
        return QRect(m_strip->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = m_index == m_strip->Tabs().CurrentIndex();
        state.focused = state.selected && m_strip->hasFocus();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) m_strip->Tabs().OnTabPressed(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<CTabStrip> m_strip;
    int m_index;
};

class CTabStripAccessible final : public QAccessibleWidget {
public:
    explicit CTabStripAccessible(CTabStrip* strip) : QAccessibleWidget(strip, QAccessible::PageTabList) {}
    ~CTabStripAccessible() override {
        for (const auto& [index, id] : m_tabs) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Strip()->Tabs().PageCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        const auto found = m_tabs.find(index);
        if (found != m_tabs.end()) return QAccessible::accessibleInterface(found->second);
        // The cache of the accessibility framework owns the interface from here on.
        auto* tab = new CTabAccessible(Strip(), index);
        m_tabs.emplace(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : m_tabs) {
            if (QAccessible::accessibleInterface(id) == child) return index;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Strip()->TabAt(Strip()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Strip()->hasFocus() ? child(Strip()->Tabs().CurrentIndex()) : nullptr;
    }
    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name) {
            const QString name = Strip()->accessibleName();
            return name.isEmpty() ? QStringLiteral("页面") : name;
        }
        return QAccessibleWidget::text(which);
    }

private:
    CTabStrip* Strip() const { return static_cast<CTabStrip*>(widget()); }

    mutable std::map<int, QAccessible::Id> m_tabs;
};

QAccessibleInterface* TabStripFactory(const QString&, QObject* object) {
    if (auto* strip = dynamic_cast<CTabStrip*>(object)) return new CTabStripAccessible(strip);
    return nullptr;
}

}  // namespace

void InstallTabStripAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&TabStripFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace kvt
