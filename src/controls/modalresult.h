#pragma once
// Results a modal window returns from exec(); the values are the classic
// modal result numbers, which callers compare directly (1 mark done,
// 4 repeat, 2 leave).
enum ModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};
