// ---------------------------------------------------------------- dom.js
// Small helpers for building the page. Quiz texts and the student's texts
// reach the document only as text (textContent); the one exception is
// showRich, for the HTML that the core's rich-text converter makes, which
// holds only paragraphs, spans and line breaks with fixed style properties,
// and never an attribute or a URL taken from the quiz.
function byId(id) {
  return document.getElementById(id);
}

// A copy of a template's content, with its labels filled in.
function fromTemplate(id) {
  const fragment = byId(id).content.cloneNode(true);
  fillLabels(fragment);
  return fragment;
}

function showRich(element, html) {
  element.innerHTML = html;
}

// Object URLs made for pictures and sounds, released with what shows them.
const objectUrls = new Map();

function urlFor(owner, bytes, type) {
  releaseUrl(owner);
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  objectUrls.set(owner, url);
  return url;
}

function releaseUrl(owner) {
  const url = objectUrls.get(owner);
  if (url) {
    URL.revokeObjectURL(url);
    objectUrls.delete(owner);
  }
}

// The type of a picture's bytes: the quiz's pictures are bitmaps, which every
// browser shows as they are; a logo or banner may be another kind.
function pictureType(bytes) {
  if (bytes[0] === 0x89 && bytes[1] === 0x50) return 'image/png';
  if (bytes[0] === 0xff && bytes[1] === 0xd8) return 'image/jpeg';
  if (bytes[0] === 0x47 && bytes[1] === 0x49) return 'image/gif';
  return 'image/bmp';
}

// Shows a picture fitted within its box as the runner fits it: each side
// at most the box's, the two limited apart.
function showPicture(img, bytes, boxWidth, boxHeight) {
  img.onload = () => {
    const width = img.naturalWidth;
    const height = img.naturalHeight;
    img.width = boxWidth > 0 && boxHeight > 0 ? Math.min(width, boxWidth) : width;
    img.height = boxWidth > 0 && boxHeight > 0 ? Math.min(height, boxHeight) : height;
  };
  img.src = urlFor(img, bytes, pictureType(bytes));
}
