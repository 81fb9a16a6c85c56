// ---------------------------------------------------------------- frame.js
// The window's frame: the title band in the quiz's colours, the caption
// ("Examen - Question n°2/10"), the bar's icons (sound, special characters,
// the countdown) and its four buttons; and the keyboard as on Windows:
// Enter is "Suivant >", Escape asks to quit, Tab moves.
let paletteTarget = '';
let timeUpText = '';

function showFrame(frame) {
  const root = document.documentElement.style;
  for (const [property, colour] of [['--title-band', frame.titleBand], ['--window', frame.window],
    ['--page', frame.page], ['--title-text', frame.titleText], ['--text', frame.text]]) {
    root.setProperty(property, colour);
  }
  byId('quiz-name').textContent = frame.name;
  document.title = frame.name;
}

function showFramePicture(which, bytes, width, height) {
  if (which === 'logo') {
    const img = document.createElement('img');
    img.alt = '';
    showPicture(img, bytes, width, height);
    byId('logo').replaceChildren(img);
  } else {
    // The banner takes the place of the quiz's name, which stays for
    // screen readers.
    showPicture(byId('banner'), bytes, width, height);
    byId('banner').hidden = false;
    byId('quiz-name').classList.add('visually-hidden');
  }
}

function setTitle(text) {
  byId('caption').textContent = text;
}

function showControl(control, visible) {
  const ids = { next: 'next', quit: 'quit', help: 'help', palette: 'palette-button', countdown: 'countdown' };
  byId(ids[control]).hidden = !visible;
}

function allowNext(allowed) {
  byId('next').disabled = !allowed;
}

function showSoundIcon(muted) {
  byId('sound').setAttribute('aria-pressed', String(muted));
}

function setCountdownText(text) {
  byId('countdown-text').textContent = text;
  // Time running out is said aloud; each second is not.
  if (text === timeUpText) announce(text);
}

function announce(text) {
  const region = byId('announce');
  region.textContent = '';
  setTimeout(() => { region.textContent = text; }, 50);
}

function focusTarget(target) {
  const ids = { next: 'next', answer: 'answer', name: 'home-name', details: 'end-details', letter: 'letter' };
  const element = byId(ids[target]);
  const usable = (e) => e && !e.hidden && !e.disabled && e.offsetParent !== null;
  const chosen = [element, byId('next'), byId('quit'), byId('about')].find(usable);
  if (!chosen) return;
  chosen.focus();
  // A text field's text is selected, ready to be typed over, as on Windows.
  if (chosen.select && chosen.type === 'text') chosen.select();
}

function setPaletteTarget(target) {
  paletteTarget = target;
  byId('palette-button').hidden = target === '';
}

async function openPaletteForTarget() {
  const field = paletteTarget === 'letter' ? byId('letter') : byId('answer');
  if (!field) return;
  const palette = JSON.parse(await command('kz_palette', [], [], 'string'));
  openPalette(palette, field, paletteTarget === 'letter');
}

// "Quitter", the Escape key and leaving the page: the engine asks, as the
// runner does, unless the exam is over.
async function quit() {
  if (byId('quit').hidden) return;
  await command('kz_quit', [], [], 'number');
}

function wireFrame() {
  timeUpText = label('STRING_2016');
  setTitle(label('MAIN_CAPTION'));
  fillLabels(byId('frame'));
  byId('next').addEventListener('click', () => command('kz_next'));
  byId('quit').addEventListener('click', quit);
  byId('help').addEventListener('click', async () => openHelp(await command('kz_help', [], [], 'string')));
  byId('about').addEventListener('click', async () => {
    openAbout(JSON.parse(await command('kz_about', [labelTable.ABOUT_CREATOR], ['string'], 'string')));
  });
  byId('sound').addEventListener('click', () => command('kz_toggle_mute'));
  byId('palette-button').addEventListener('click', openPaletteForTarget);
  byId('save-record').addEventListener('click', saveLastRecord);

  document.addEventListener('keydown', (event) => {
    if (document.querySelector('dialog[open]') || event.defaultPrevented) return;
    if (event.key === 'Escape') {
      event.preventDefault();
      quit();
      return;
    }
    if (event.key !== 'Enter' || event.altKey || event.ctrlKey || event.metaKey) return;
    // Buttons and links act on Enter themselves; every other control of the
    // page presses the default button.
    const target = event.target;
    if (target.closest && target.closest('button, a, summary')) return;
    if (!byId('frame').contains(target) && target !== document.body) return;
    event.preventDefault();
    const next = byId('next');
    if (!next.hidden && !next.disabled) command('kz_next');
  });
}
