-- "OnCollision" of an enemy bullet (GameObject is the bullet), queued twice per contact: the
-- bullet goes when it touches the player. The touch of the enemy that fired it does not
-- count, so a bullet leaves its enemy; the second call finds the bullet gone.
local function Box(id)
    local place = GetTransform(id)
    local body = GetRigidBody(id)
    if place == nil or body == nil then
        return nil
    end
    return place.x_pos + body.left, place.x_pos + body.right, place.y_pos + body.bottom, place.y_pos + body.top
end

local function Overlap(a, b)
    local aLeft, aRight, aBottom, aTop = Box(a)
    local bLeft, bRight, bBottom, bTop = Box(b)
    if aLeft == nil or bLeft == nil then
        return false
    end
    return aLeft <= bRight and bLeft <= aRight and aBottom <= bTop and bBottom <= aTop
end

function main()
    if GetTransform(GameObject) ~= nil and Overlap(GameObject, GetPlayerID()) then
        Destroy(GameObject)
    end
end
