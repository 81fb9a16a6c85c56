// ---------------------------------------------------------------- pages.js
// The pages of the exam's window: welcome, home, the six question pages and
// the end page, each made from its template when the engine shows it. A
// page shows what the engine gives it and reports what the student does;
// which answer is right, when a question ends, what comes next: the engine.
const pageArea = () => byId('page');
let currentPage = '';

function replacePage(name) {
  releaseImages();
  for (const img of pageArea().querySelectorAll('img')) releaseUrl(img);
  pageArea().replaceChildren(fromTemplate(`page-${name}`));
  currentPage = name;
}

// ---------------------------------------------------------------- welcome and end

function showWelcomePage(html) {
  replacePage('welcome');
  showRich(byId('welcome-text'), html);
}

function showEndPage(html, details, home, restart) {
  replacePage('end');
  showRich(byId('end-text'), html);
  const buttons = [['end-details', details, 'kz_details'], ['end-home', home, 'kz_go_home'],
    ['end-restart', restart, 'kz_restart']];
  for (const [id, shown, name] of buttons) {
    byId(id).hidden = !shown;
    byId(id).addEventListener('click', () => command(name));
  }
}

// ---------------------------------------------------------------- home

function showHomePage(form) {
  replacePage('home');
  const name = byId('home-name');
  const more = byId('home-more');
  const options = byId('home-options');
  const type = byId('home-type');
  form.types.forEach((text, index) => type.add(new Option(text, String(index))));
  type.selectedIndex = form.type;
  name.value = form.name;
  // A learning platform's signed-in student: the name is the platform's.
  name.readOnly = !form.mayChangeName;
  byId('home-count').value = form.count;
  byId('home-time-limit').value = form.timeLimit;
  byId('home-time-limit-on').checked = form.timeLimitOn;
  byId(form.randomOrder ? 'home-random' : 'home-fixed').checked = true;
  byId('home-invert').checked = form.invert;
  byId('home-training').checked = form.training;

  const list = byId('home-themes');
  form.themes.forEach((theme, index) => {
    const item = document.createElement('li');
    const itemLabel = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = true;
    box.dataset.theme = String(index);
    box.disabled = !form.mayChooseThemes;
    itemLabel.append(box, document.createTextNode(theme));
    item.append(itemLabel);
    list.append(item);
  });

  // What the quiz lets the student change.
  const allowed = [
    [['home-themes'], form.mayChooseThemes], [['home-count'], form.mayChangeCount],
    [['home-random', 'home-fixed'], form.mayChooseOrder], [['home-invert'], form.mayInvert],
    [['home-time-limit', 'home-time-limit-on'], form.mayChangeTimeLimit], [['home-type'], form.mayChooseType],
    [['home-training'], form.mayChooseTraining],
  ];
  for (const [ids, may] of allowed) for (const id of ids) byId(id).disabled = !may;
  for (const button of pageArea().querySelectorAll('.theme-tools button')) button.disabled = !form.mayChooseThemes;

  // "Plus d'options" shows the options; without it only the name changes.
  more.hidden = !form.moreOptions;
  more.textContent = label('STRING_126');
  more.addEventListener('click', () => {
    const expanded = options.hidden;
    options.hidden = !expanded;
    more.setAttribute('aria-expanded', String(expanded));
    more.textContent = label(expanded ? 'STRING_127' : 'STRING_126');
  });

  // The Next button follows the field the student changed last (the engine's rule).
  name.addEventListener('input', () => command('kz_home_changed', ['name'], ['string']));
  byId('home-count').addEventListener('input', () => command('kz_home_changed', ['count'], ['string']));
  list.addEventListener('change', () => command('kz_home_changed', ['themes'], ['string']));
  for (const button of pageArea().querySelectorAll('.theme-tools button')) {
    button.addEventListener('click', () => {
      for (const box of list.querySelectorAll('input')) {
        box.checked = button.dataset.themes === 'all' ? true
          : button.dataset.themes === 'none' ? false : !box.checked;
      }
      command('kz_home_changed', ['themes'], ['string']);
    });
  }
  byId('home-form').addEventListener('submit', (event) => event.preventDefault());
}

const homeFields = { name: 'home-name', count: 'home-count', time_limit: 'home-time-limit' };
const homeChecks = {
  time_limit_on: 'home-time-limit-on', random_order: 'home-random', invert: 'home-invert', training: 'home-training',
};

function homeText(field) {
  const input = byId(homeFields[field]);
  return input ? input.value : '';
}

function homeChecked(field) {
  const box = byId(homeChecks[field]);
  return box ? box.checked : false;
}

function homeTypeEntry() {
  const type = byId('home-type');
  return type ? type.selectedIndex : 0;
}

function homeThemeTicked(theme) {
  const box = pageArea().querySelector(`#home-themes input[data-theme="${theme}"]`);
  return box ? box.checked : false;
}

// ---------------------------------------------------------------- question pages

function showQuestionPage(name) {
  replacePage(name);
  for (const holder of pageArea().querySelectorAll('[data-place]')) {
    const place = fromTemplate('place').querySelector('.place');
    const which = holder.dataset.place;
    place.querySelector('.rich').id = `${which === 'question' ? 'question' : which}-text`;
    place.querySelector('.picture').setAttribute('aria-label', label('WEB_PREVIEW'));
    place.querySelector('.picture').addEventListener('click', () => command('kz_preview', [which], ['string']));
    place.querySelector('.play').addEventListener('click', () => command('kz_play', [which], ['string']));
    place.querySelector('.stop').addEventListener('click', () => command('kz_stop'));
    holder.append(place);
  }
  if (name === 'hangman') {
    byId('test-letter').addEventListener('click', () => command('kz_test_letter'));
    byId('letter').addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      event.preventDefault();
      event.stopPropagation();
      command('kz_test_letter');
    });
  } else if (name === 'pot_pourri') {
    byId('candidates').add(new Option(label('WEB_CHOICE_NONE'), '-1'));
  }
}

function placeElement(name) {
  const holder = pageArea().querySelector(`[data-place="${name}"]`);
  return holder ? holder.querySelector('.place') : null;
}

// One of a place's three forms: a text, a picture, or play and stop buttons.
function showPlaceForm(place, form) {
  place.querySelector('.rich').hidden = form !== 'text';
  place.querySelector('.picture').hidden = form !== 'image';
  place.querySelector('.media').hidden = form !== 'media';
  if (form !== 'text') place.querySelector('.rich').replaceChildren();
}

function showText(name, html) {
  const place = placeElement(name);
  if (!place) return;
  showPlaceForm(place, 'text');
  showRich(place.querySelector('.rich'), html);
}

function showImage(name, bytes, width, height) {
  const place = placeElement(name);
  if (!place) return;
  showPlaceForm(place, 'image');
  showPicture(place.querySelector('.picture img'), bytes, width, height);
}

function showMediaButtons(name) {
  const place = placeElement(name);
  if (place) showPlaceForm(place, 'media');
}

function showPrompt(html) {
  const prompt = byId('prompt');
  if (prompt) showRich(prompt, html);
  questionShown = true;
  markFirstQuestion();
}

// The moment the first question is on the screen, for the page's benchmark:
// the frame after the one that shows it has begun.
let firstQuestionMarked = false;

function markFirstQuestion() {
  if (firstQuestionMarked) return;
  firstQuestionMarked = true;
  requestAnimationFrame(() => setTimeout(() => performance.mark('kz:first-question'), 0));
}

function releaseImages() {
  for (const img of pageArea().querySelectorAll('.place img')) releaseUrl(img);
}

// The entries come as the core's rich HTML; a list shows their text, the
// paragraphs of one entry on one line.
function showCandidates(entries) {
  const list = byId('candidates');
  if (!list) return;
  list.length = 1;
  const holder = document.createElement('div');
  for (const entry of entries) {
    showRich(holder, entry);
    const paragraphs = holder.querySelectorAll('p');
    const texts = paragraphs.length ? [...paragraphs].map((paragraph) => paragraph.textContent) : [holder.textContent];
    list.add(new Option(texts.map((text) => text.trim()).filter((text) => text).join(' ')));
  }
  list.selectedIndex = 0;
}

function showMaskedAnswer(text) {
  const masked = byId('masked');
  if (masked) masked.textContent = text;
}

function showTriesLeft(left, tries, text) {
  const bar = byId('tries');
  if (!bar) return;
  bar.max = tries;
  bar.value = left;
  byId('tries-text').textContent = text;
}

function showLettersLine(text) {
  const letters = byId('letters');
  if (letters) letters.textContent = text;
}

// Empties what the student entered: the typed answer, the ticks, the
// true/false choice, the list's selection, the letter box.
function clearAnswer() {
  for (const input of pageArea().querySelectorAll('#answer, #letter')) input.value = '';
  for (const box of pageArea().querySelectorAll('.choices input, .verdict input')) box.checked = false;
  const list = byId('candidates');
  if (list) list.selectedIndex = 0;
}

function answerField() {
  return byId('answer') || byId('letter');
}

function typedAnswer() {
  const field = answerField();
  return field ? field.value : '';
}

function tickedBoxes() {
  let ticks = 0;
  [1, 2, 3].forEach((box, bit) => {
    const tick = byId(`tick-${box}`);
    if (tick && tick.checked) ticks |= 1 << bit;
  });
  return ticks;
}

function trueFalseChoice() {
  const chosen = pageArea().querySelector('input[name="verdict"]:checked');
  return chosen ? Number(chosen.value) : -1;
}

function selectedCandidate() {
  const list = byId('candidates');
  return list ? list.selectedIndex - 1 : -1;
}

// A new question is up: a screen reader's user lands on its first answer
// control, which tells the question (the fields that the engine focuses
// itself, the typed answer and the letter box, need no help).
let questionShown = false;

function focusNewQuestion() {
  if (!questionShown) return;
  questionShown = false;
  if (document.querySelector('dialog[open]')) return;
  const first = pageArea().querySelector('#tick-1, #says-true, #candidates');
  if (first) first.focus();
}
