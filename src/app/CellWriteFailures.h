#pragma once
// The failure box of a grid cell that could not be written.

class MessageCatalog;
class WorkTableModel;

// Shows the failure box (catalogue "その他" / "失敗") for every edit of the
// model's cells that the work table did not take, so a cell never reverts
// without a word. The box comes once the grid has closed its editor.
void ShowCellWriteFailures(WorkTableModel* model, const MessageCatalog& messages);
