// ---------------------------------------------------------------- results.js
// The record of each exam, as the core wrote it: the student saves it as a
// results data file, and, when the page was made with the teacher's
// address, the page sends it there (an HTTP POST of the record's bytes). A
// record that could not be sent is kept in the browser and offered again at
// the next visit, so that none is lost.
let lastRecord = null;  // { file, record, name } of the exam just ended
let resultsUrl = null;

const pendingKey = () => `kz-resultats:${resultsUrl}`;

// Bytes as a text of one character per byte, for the browser's storage.
const bytesToText = (bytes) => Array.from(bytes, (byte) => String.fromCharCode(byte)).join('');
const textToBytes = (text) => Uint8Array.from(text, (character) => character.charCodeAt(0));

function pendingRecords() {
  try {
    return JSON.parse(localStorage.getItem(pendingKey()) || '[]');
  } catch {
    return [];
  }
}

function storePending(records) {
  if (records.length === 0) {
    localStorage.removeItem(pendingKey());
  } else {
    localStorage.setItem(pendingKey(), JSON.stringify(records));
  }
}

function saveFile(bytes, name) {
  const link = document.createElement('a');
  link.href = urlFor(link, bytes, 'application/octet-stream');
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => releaseUrl(link), 60000);
}

function setResultsStatus(text) {
  byId('results-status').textContent = text;
}

// Sends one record; the reason of a failure, or null when it arrived.
async function sendRecord(record) {
  try {
    const response = await fetch(resultsUrl, {
      method: 'POST',
      body: record,
      headers: { 'Content-Type': 'text/plain; charset=windows-1252' },
      cache: 'no-store',
      credentials: 'omit',
    });
    return response.ok ? null : `HTTP ${response.status}`;
  } catch {
    return label('WEB_NO_NETWORK');
  }
}

async function recordReady(file, record, name) {
  lastRecord = { file, record, name };
  byId('results').hidden = false;
  setResultsStatus('');
  if (!resultsUrl) return;
  setResultsStatus(label('WEB_SENDING'));
  const failure = await sendRecord(record);
  if (failure === null) {
    setResultsStatus(label('WEB_SENT'));
    return;
  }
  try {
    // The file's first line, the results format, as the core wrote it.
    const format = bytesToText(file.subarray(0, file.length - record.length));
    storePending([...pendingRecords(), { name, format, record: bytesToText(record) }]);
    setResultsStatus(labelWith('WEB_SEND_FAILED', failure));
  } catch {
    setResultsStatus(labelWith('WEB_KEEP_FAILED', failure));
  }
}

function saveLastRecord() {
  if (!lastRecord) return;
  saveFile(lastRecord.file, lastRecord.name);
  setResultsStatus(labelWith('WEB_SAVED', lastRecord.name));
}

// A new exam hides the last one's record.
function examRunning(running) {
  if (running) byId('results').hidden = true;
  window.onbeforeunload = running ? (event) => { event.preventDefault(); event.returnValue = ''; } : null;
}

// The records that earlier visits could not send: sent again, or saved as
// one results file (the format line, then every record).
function offerPendingRecords() {
  if (!resultsUrl) return;
  let records;
  try {
    records = pendingRecords();
  } catch {
    return;
  }
  if (records.length === 0) return;
  const offer = fromTemplate('pending-records').querySelector('.pending');
  const text = offer.querySelector('p');
  const describe = (count) => (count === 1 ? label('WEB_PENDING_ONE') : labelWith('WEB_PENDING_MANY', count));
  text.textContent = describe(records.length);
  offer.querySelector('.send').addEventListener('click', async () => {
    const left = [];
    let failure = null;
    for (const record of pendingRecords()) {
      const reason = await sendRecord(textToBytes(record.record));
      if (reason !== null) {
        failure = reason;
        left.push(record);
      }
    }
    storePending(left);
    if (left.length === 0) {
      offer.remove();
      setResultsStatus(label('WEB_SENT'));
    } else {
      text.textContent = `${describe(left.length)} (${failure})`;
    }
  });
  offer.querySelector('.save').addEventListener('click', () => {
    const all = pendingRecords();
    const bytes = textToBytes(all[0].format + all.map((record) => record.record).join(''));
    saveFile(bytes, all[0].name);
    storePending([]);
    offer.remove();
  });
  byId('frame').insertBefore(offer, byId('results'));
}
