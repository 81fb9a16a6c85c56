// ---------------------------------------------------------------- dialogs.js
// The runner's modal boxes as the page's dialogs. The engine's own (message
// boxes, the correction of training mode) are opened and closed by the
// engine, which waits on them meanwhile; the others (help, About, the
// special-characters palette, the picture preview, the results' details)
// belong to the page alone. Every dialog is modal: the page behind it is out
// of reach until it closes, and the keyboard's focus comes back where it was.
const MODAL = { ok: 100, yes: 101, no: 102, closeBox: 103, playRow: 200, stopRow: 300, previewRow: 400 };

const engineModals = [];  // the engine's open dialogs, innermost last
let modalSerial = 0;

function openDialog(dialog, initialFocus) {
  const returnFocus = document.activeElement;
  dialog.addEventListener('close', () => {
    // The focus goes back where it was, unless the engine has given it to
    // another control since (the letter box after a letter was tested).
    const stayed = document.activeElement;
    const lost = !stayed || stayed === document.body || dialog.contains(stayed) || stayed === returnFocus;
    dialog.remove();
    if (lost && returnFocus && returnFocus.isConnected) returnFocus.focus();
  }, { once: true });
  document.body.append(dialog);
  dialog.showModal();
  (initialFocus || dialog.querySelector('.default') || dialog).focus();
}

function dialogFromTemplate(id) {
  return fromTemplate(id).querySelector('dialog');
}

// ---------------------------------------------------------------- the engine's dialogs

function openEngineModal(dialog, initialFocus, onEscape) {
  const serial = ++modalSerial;
  const report = (code) => engineQueue.post({ kind: 'modal', serial, code });
  dialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    if (onEscape !== null) report(onEscape);
  });
  engineModals.push({ serial, dialog });
  openDialog(dialog, initialFocus);
  return report;
}

function closeEngineModal() {
  const modal = engineModals.pop();
  if (modal) modal.dialog.close();
}

function waitModalEvent() {
  const modal = engineModals[engineModals.length - 1];
  return nextModalEvent(modal ? modal.serial : -1);
}

// A message box: OK, or Yes and No (which Escape does not answer).
function openMessage(text, caption, icon, yesNo) {
  const dialog = dialogFromTemplate('dialog-message');
  dialog.querySelector('.dialog-caption').textContent = caption;
  dialog.querySelector('.message-text').textContent = text;
  dialog.querySelector('.message-icon').classList.add(icon);
  dialog.setAttribute('role', 'alertdialog');
  const buttons = dialog.querySelector('.dialog-buttons');
  const answers = yesNo ? [['MESSAGE_YES', MODAL.yes], ['MESSAGE_NO', MODAL.no]] : [['MESSAGE_OK', MODAL.ok]];
  let report = null;
  for (const [name, code] of answers) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = label(name);
    button.addEventListener('click', () => report(code));
    buttons.append(button);
  }
  buttons.firstChild.classList.add('default');
  report = openEngineModal(dialog, buttons.firstChild, yesNo ? null : MODAL.closeBox);
}

// The correction dialog's rows, given one by one before it opens: the three
// answers (rows 0 to 2) and the comment (row 3).
let correctionRows = [];

function addCorrectionRow(row, kind, html, image, width, height) {
  correctionRows.push({ row, kind, html, image, width, height });
}

function openCorrection(message) {
  const dialog = dialogFromTemplate('dialog-correction');
  dialog.setAttribute('role', 'alertdialog');
  dialog.querySelector('.correction-message').textContent = message;
  let report = null;
  for (const row of correctionRows) {
    const place = fromTemplate('place').querySelector('.place');
    if (row.kind === 'text') {
      showRich(place.querySelector('.rich'), row.html);
    } else if (row.kind === 'image') {
      const picture = place.querySelector('.picture');
      picture.hidden = false;
      picture.setAttribute('aria-label', label('WEB_PREVIEW'));
      showPicture(picture.querySelector('img'), row.image, row.width, row.height);
      picture.addEventListener('click', () => report(MODAL.previewRow + row.row));
    } else {
      place.querySelector('.media').hidden = false;
      place.querySelector('.play').addEventListener('click', () => report(MODAL.playRow + row.row));
      place.querySelector('.stop').addEventListener('click', () => report(MODAL.stopRow + row.row));
    }
    if (row.row === 3) {
      const comment = dialog.querySelector('.correction-comment');
      comment.append(place);
      comment.hidden = false;
    } else {
      dialog.querySelector('.correction-rows').append(place);
    }
  }
  correctionRows = [];
  dialog.querySelector('.continue').addEventListener('click', () => report(MODAL.ok));
  dialog.querySelector('.close').addEventListener('click', () => report(MODAL.closeBox));
  report = openEngineModal(dialog, dialog.querySelector('.continue'), MODAL.closeBox);
}

// ---------------------------------------------------------------- the page's own dialogs

function openHelp(html) {
  const dialog = dialogFromTemplate('dialog-help');
  showRich(dialog.querySelector('.help-text'), html);
  dialog.querySelector('.close').addEventListener('click', () => dialog.close());
  openDialog(dialog);
}

function openAbout(about) {
  const dialog = dialogFromTemplate('dialog-about');
  dialog.querySelector('.about-name').textContent = about.name;
  dialog.querySelector('.about-author').textContent = about.author;
  dialog.querySelector('.about-comment').textContent = about.comment;
  dialog.querySelector('.about-creator').textContent = about.creator;
  dialog.querySelector('.about-link').href = about.link;
  dialog.querySelector('.close').addEventListener('click', () => dialog.close());
  openDialog(dialog);
}

// The picture at its natural size, within the screen. It closes on a click,
// on Enter or Escape, and when the page loses the focus, as the runner's.
function openPreview(bytes) {
  const dialog = dialogFromTemplate('dialog-preview');
  const picture = dialog.querySelector('.preview-picture');
  picture.setAttribute('aria-label', label('WEB_CLOSE'));
  showPicture(picture.querySelector('img'), bytes, 0, 0);
  const close = () => { if (dialog.open) dialog.close(); };
  picture.addEventListener('click', close);
  dialog.addEventListener('click', (event) => { if (event.target === dialog) close(); });
  window.addEventListener('blur', close, { once: true });
  dialog.addEventListener('close', () => releaseUrl(picture.querySelector('img')), { once: true });
  openDialog(dialog, picture);
}

function openDetails(details) {
  const dialog = dialogFromTemplate('dialog-details');
  dialog.querySelector('.details-head').textContent =
    labelWith('WEB_DETAILS_HEAD', details.student, details.date, details.score);
  const body = dialog.querySelector('tbody');
  details.questions.forEach((question, index) => {
    const row = body.insertRow();
    const cells = [String(index + 1), question.question, question.expected.join('\n'),
      question.given.join('\n'), label(question.right ? 'WEB_RIGHT' : 'WEB_WRONG')];
    for (const text of cells) row.insertCell().textContent = text;
    row.cells[0].title = question.theme;
    row.cells[4].className = question.right ? 'right' : 'wrong';
  });
  dialog.querySelector('.close').addEventListener('click', () => dialog.close());
  openDialog(dialog);
}

// ---------------------------------------------------------------- the palette
// The special-characters palette inserts into the field that the question
// page names (`paletteTarget`); into the hangman's letter box, each
// character is tested at once and the palette closes.
function openPalette(palette, field, testsLetter) {
  const dialog = dialogFromTemplate('dialog-palette');
  const categories = dialog.querySelector('#palette-category');
  const list = dialog.querySelector('.palette-characters');
  const cancel = dialog.querySelector('.close');
  palette.categories.forEach((category, index) => categories.add(new Option(category.name, String(index))));
  categories.value = String(palette.opening);
  let selected = -1;

  const select = (index) => {
    const options = list.querySelectorAll('[role="option"]');
    if (index < 0 || index >= options.length) return;
    options.forEach((option, i) => option.setAttribute('aria-selected', String(i === index)));
    selected = index;
    list.setAttribute('aria-activedescendant', options[index].id);
    options[index].scrollIntoView({ block: 'nearest' });
  };
  const fill = () => {
    list.replaceChildren();
    selected = -1;
    list.removeAttribute('aria-activedescendant');
    palette.categories[Number(categories.value)].characters.forEach((character, index) => {
      const option = document.createElement('div');
      option.setAttribute('role', 'option');
      option.setAttribute('aria-selected', 'false');
      option.id = `palette-character-${index}`;
      option.textContent = character;
      option.addEventListener('click', () => select(index));
      option.addEventListener('dblclick', () => { select(index); insert(); });
      list.append(option);
    });
  };
  const insert = () => {
    if (selected < 0) return;
    const character = list.querySelectorAll('[role="option"]')[selected].textContent;
    cancel.textContent = label('STRING_135');
    if (!field.isConnected) return;
    field.setRangeText(character, field.selectionStart ?? field.value.length,
      field.selectionEnd ?? field.value.length, 'end');
    field.dispatchEvent(new Event('input', { bubbles: true }));
    if (testsLetter) {
      dialog.close();
      command('kz_test_letter');
    }
  };
  list.addEventListener('keydown', (event) => {
    const columns = Math.max(1, Math.round(list.clientWidth / (list.firstChild?.offsetWidth || 1)));
    const count = list.childElementCount;
    const moves = { ArrowRight: 1, ArrowLeft: -1, ArrowDown: columns, ArrowUp: -columns };
    if (event.key in moves) {
      select(Math.min(count - 1, Math.max(0, (selected < 0 ? 0 : selected + moves[event.key]))));
    } else if (event.key === 'Home') {
      select(0);
    } else if (event.key === 'End') {
      select(count - 1);
    } else if (event.key === 'Enter') {
      insert();
    } else {
      return;
    }
    event.preventDefault();
  });
  categories.addEventListener('change', fill);
  dialog.querySelector('.insert').addEventListener('click', insert);
  cancel.addEventListener('click', () => dialog.close());
  // Closed, the palette gives the keyboard back to the field it fills, where
  // the student goes on typing.
  dialog.addEventListener('close', () => { if (field.isConnected && !field.hidden) field.focus(); }, { once: true });
  fill();
  openDialog(dialog, list);
}
