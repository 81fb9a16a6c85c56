// ---------------------------------------------------------------- start.js
// The page opens: the quiz's files that the page carries go into the
// WebAssembly's file system (the quiz file, its media folders beside it, the
// music rendered to audio), and the engine opens the exam's window.
function decodeBase64(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i += 1) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

async function start() {
  const manifest = JSON.parse(byId('kz-manifest').textContent);
  const payload = decodeBase64(byId('kz-quiz').textContent.replace(/\s+/g, ''));
  resultsUrl = manifest.resultsUrl || null;

  wasm = await createQuizPlayer({ page: pageBridge });
  let offset = 0;
  for (const file of manifest.files) {
    const folder = file.path.slice(0, file.path.lastIndexOf('/'));
    wasm.FS.mkdirTree(folder);
    wasm.FS.writeFile(file.path, payload.subarray(offset, offset + file.size));
    offset += file.size;
  }
  wasm.FS.mkdirTree(manifest.renderings);
  setLabels(JSON.parse(wasm.ccall('kz_labels', 'string', [], [])));
  wireFrame();
  byId('loading').hidden = true;
  byId('frame').hidden = false;
  offerPendingRecords();

  // A seed in the address (?seed=N) fixes the exam's draws, as the runner's
  // KZ_RANDOM_SEED and the terminal player's --seed do.
  const seed = new URLSearchParams(location.search).get('seed') || '';
  const platform = connectPlatform();
  window.addEventListener('pagehide', finishPlatform);
  const started = command('kz_start', [manifest.quiz, manifest.renderings, /^\d+$/.test(seed) ? seed : '',
    platform.present ? 1 : 0, platform.name, platform.mastery, platform.interactions],
  ['string', 'string', 'string', 'number', 'string', 'number', 'number'], 'number');
  runEngine();
  await started;
}

start();
