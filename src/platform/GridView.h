#pragma once
#include <QTableView>
class GridView : public QTableView { public: using QTableView::QTableView; };
