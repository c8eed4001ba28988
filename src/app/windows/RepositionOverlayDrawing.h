#pragma once
// The reposition editor's drawing, apart from its input handling: each layer paints from the
// model and the layout the view computed.

#include "app/windows/RepositionOverlayView.h"

class QPainter;

namespace tolvane::RepositionOverlayDrawing {

void drawHUDOutlines(QPainter& painter, const RepositionOverlayView::Layout& layout);
void drawGrid(QPainter& painter, QSizeF size);
void drawChip(QPainter& painter, const RepositionOverlayView& view, PanelID id);
void drawTabBar(QPainter& painter, const RepositionOverlayView::Layout& layout, RepositionMode active);
void drawBadge(QPainter& painter, const RepositionOverlayView::Layout& layout);
void drawToolbar(QPainter& painter, const RepositionOverlayView::Layout& layout);

} // namespace tolvane::RepositionOverlayDrawing
